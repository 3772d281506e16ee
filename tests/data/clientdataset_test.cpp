#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/clientdatasetfile.h"
#include "toolkit/data/clientdatasetquery.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include "tests/support/file_size_limit.h"
#include "tests/support/sqlite_exec.h"
#include "tests/support/temp_folder.h"

#include "tests/support/field_def.h"

#include <QDateTime>
#include <QFile>
#include <gtest/gtest.h>
#include <limits>
#include <sqlite3.h>
#include <stdexcept>

namespace tk {
namespace {

using test::Def;
using test::FileSizeLimit;

// One column of every storage flavour, an object column with children, and
// flags, so that a round trip covers the whole format.
std::vector<TFieldDef> AllTypeDefs()
{
    TFieldDef address = Def(QStringLiteral("Address"), ftADT);
    address.ChildDefs = {Def(QStringLiteral("Street"), ftWideString, 40),
                         Def(QStringLiteral("Zip"), ftInteger)};
    TFieldDef id = Def(QStringLiteral("Id"), ftAutoInc);
    id.Required = true;
    id.ReadOnly = true;
    return {id,
            Def(QStringLiteral("Small"), ftSmallint),
            Def(QStringLiteral("Word"), ftWord),
            Def(QStringLiteral("Big"), ftLargeint),
            Def(QStringLiteral("Flag"), ftBoolean),
            Def(QStringLiteral("Ratio"), ftFloat),
            Def(QStringLiteral("Price"), ftCurrency),
            Def(QStringLiteral("Amount"), ftBCD, 4),
            Def(QStringLiteral("Exact"), ftFMTBcd, 8),
            Def(QStringLiteral("When"), ftDateTime),
            Def(QStringLiteral("Day"), ftDate),
            Def(QStringLiteral("Text"), ftString, 50),
            Def(QStringLiteral("Notes"), ftMemo),
            Def(QStringLiteral("Data"), ftBlob),
            address};
}

std::vector<Variant> FullRow()
{
    return {Variant(1),
            Variant(qint16(-32768)),
            Variant(quint16(65535)),
            Variant(std::numeric_limits<qint64>::min()),
            Variant(true),
            Variant(0.1 + 0.2),
            Variant(-1234.5678),
            Variant(TCurrency::FromTicks(-99999999)),
            Variant(TBcd::FromString("-1234567890123456789012.12345678")),
            Variant::FromDate(45321.123456789012),
            Variant::FromDate(1),
            Variant("ñandú \t tab\\back\\N \"quoted\" 漢字 🙂"),
            Variant("line 1\nline 2\r\nR\tEND\n"),
            Variant(QByteArray("\x00\x01\xff\n\t\\", 6)),
            Variant("Calle\tMayor\\"),
            Variant(28001)};
}

std::unique_ptr<TMemoryRecordSource> SampleSource()
{
    auto source = std::make_unique<TMemoryRecordSource>(AllTypeDefs());
    source->AppendRow(FullRow());
    std::vector<Variant> nulls(FullRow().size(), Variant::NullValue());
    nulls[0] = Variant(2);
    source->AppendRow(nulls);
    std::vector<Variant> empties = FullRow();
    empties[0] = Variant(3);
    empties[11] = Variant("");  // empty text is not Null
    empties[13] = Variant(QByteArray());
    source->AppendRow(empties);
    return source;
}

void ExpectSameRows(TMemoryRecordSource& a, TMemoryRecordSource& b)
{
    ASSERT_EQ(a.ColumnNames(), b.ColumnNames());
    ASSERT_EQ(a.RowCount(), b.RowCount());
    for (qint64 row = 0; row < a.RowCount(); ++row) {
        for (int column = 0; column < a.ColumnNames().size(); ++column)
            EXPECT_TRUE(a.Value(row, column).SameAs(b.Value(row, column)))
                << a.ColumnNames()[column].toStdString() << " row " << row << ": "
                << a.Value(row, column).ToString().toStdString() << " vs "
                << b.Value(row, column).ToString().toStdString();
    }
}

TEST(ClientDataFile, RoundTripKeepsEveryTypeAndDefinition)
{
    test::TempFolder folder;
    auto source = SampleSource();
    const QString path = folder.File(QStringLiteral("data.cds"));
    SaveClientDataFile(*source, path);
    auto loaded = LoadClientDataFile(path);
    ExpectSameRows(*source, *loaded);

    ASSERT_EQ(loaded->FieldDefs().size(), source->FieldDefs().size());
    const TFieldDef& id = loaded->FieldDefs()[0];
    EXPECT_TRUE(id.Required);
    EXPECT_TRUE(id.ReadOnly);
    EXPECT_EQ(loaded->FieldDefs()[11].Size, 50);
    const TFieldDef& address = loaded->FieldDefs().back();
    EXPECT_EQ(address.DataType, ftADT);
    ASSERT_EQ(address.ChildDefs.size(), 2u);
    EXPECT_EQ(address.ChildDefs[0].Name, QStringLiteral("Street"));
    EXPECT_EQ(address.ChildDefs[0].DataType, ftWideString);
    EXPECT_EQ(loaded->ColumnNames().last(), QStringLiteral("Address.Zip"));
    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(EncodeClientData(*loaded), EncodeClientData(*source));
}

TEST(ClientDataFile, SavesTheNaturalOrderNotTheSortOrder)
{
    TMemoryRecordSource source({Def(QStringLiteral("N"), ftString, 5)});
    source.AppendRows({{Variant("b")}, {Variant("a")}, {Variant("c")}});
    source.Sort(QStringLiteral("N"), false);
    source.DeleteRow(2);  // "c"
    auto loaded = DecodeClientData(EncodeClientData(source), QStringLiteral("mem"));
    ASSERT_EQ(loaded->RowCount(), 2);
    EXPECT_EQ(loaded->Value(0, 0).ToString(), QStringLiteral("b"));
    EXPECT_EQ(loaded->Value(1, 0).ToString(), QStringLiteral("a"));
}

struct DamageCase {
    const char* label;
    QByteArray bytes;
    int line;  // the line the message must name
};

class ClientDataFileDamage : public ::testing::TestWithParam<DamageCase> {};

QByteArray GoodFile()
{
    return "#toolkit-clientdata 1\n"
           "FIELDS\t2\n"
           "FIELD\t0\tId\tftInteger\t0\t-\n"
           "FIELD\t0\tName\tftString\t10\tR\n"
           "ROWS\t2\n"
           "R\t1\tone\n"
           "R\t2\t\\N\n"
           "END\n";
}

QByteArray Replace(QByteArray bytes, const char* from, const char* to)
{
    if (!bytes.contains(from))
        throw std::logic_error("fixture text not found");
    return bytes.replace(from, to);
}

// A damaged file raises EDatabaseError naming the file and the line.
TEST_P(ClientDataFileDamage, RaisesWithFileAndLine)
{
    const DamageCase& c = GetParam();
    try {
        DecodeClientData(c.bytes, QStringLiteral("damaged.cds"));
        FAIL() << "loaded " << c.label;
    } catch (const EDatabaseError& error) {
        const QString expected = QStringLiteral("damaged.cds: line %1: ").arg(c.line);
        EXPECT_TRUE(error.Message().startsWith(expected)) << c.label << ": " << error.Message().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ClientDataFileDamage,
    ::testing::Values(
        DamageCase{"empty", QByteArray(), 1},
        DamageCase{"wrong magic", Replace(GoodFile(), "#toolkit-clientdata", "#something-else"), 1},
        DamageCase{"newer version", Replace(GoodFile(), "clientdata 1", "clientdata 3"), 1},
        DamageCase{"truncated in rows", GoodFile().left(GoodFile().indexOf("R\t2")), 5},
        DamageCase{"truncated before END", GoodFile().left(GoodFile().indexOf("END")), 8},
        DamageCase{"cut inside a line", GoodFile().left(GoodFile().indexOf("one") + 1), 5},
        DamageCase{"bad integer", Replace(GoodFile(), "R\t1\t", "R\t1x\t"), 6},
        DamageCase{"integer with blank", Replace(GoodFile(), "R\t1\t", "R\t 1\t"), 6},
        DamageCase{"integer out of range", Replace(GoodFile(), "R\t1\t", "R\t99999999999\t"), 6},
        DamageCase{"too many values", Replace(GoodFile(), "R\t1\tone", "R\t1\tone\textra"), 6},
        DamageCase{"too few values", Replace(GoodFile(), "R\t1\tone", "R\t1"), 6},
        DamageCase{"huge row count", Replace(GoodFile(), "ROWS\t2", "ROWS\t999999999999"), 5},
        DamageCase{"huge field count", Replace(GoodFile(), "FIELDS\t2", "FIELDS\t2147483648"), 2},
        DamageCase{"huge size", Replace(GoodFile(), "ftString\t10", "ftString\t99999999999"), 4},
        DamageCase{"negative size", Replace(GoodFile(), "ftString\t10", "ftString\t-1"), 4},
        DamageCase{"unknown type", Replace(GoodFile(), "ftInteger", "ftNope"), 3},
        DamageCase{"child without object parent", Replace(GoodFile(), "FIELD\t0\tName", "FIELD\t1\tName"), 4},
        DamageCase{"duplicate names", Replace(GoodFile(), "\tName\t", "\tID\t"), 2},
        DamageCase{"bad escape", Replace(GoodFile(), "one", "o\\xne"), 6},
        DamageCase{"lone backslash", Replace(GoodFile(), "one", "one\\"), 6},
        DamageCase{"data after END", GoodFile() + "R\t3\tx\n", 9},
        DamageCase{"invalid UTF-8", Replace(GoodFile(), "one", "o\xff\xfe"), 6},
        DamageCase{"missing ROWS", Replace(GoodFile(), "ROWS\t2", "ROWZ\t2"), 5}));

TEST(ClientDataFile, DamagedValuesOfEachKindRaise)
{
    const QByteArray header = "#toolkit-clientdata 1\nFIELDS\t1\nFIELD\t0\tV\t";
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"ftBoolean", "2"}, {"ftFloat", "1.5.2"}, {"ftDateTime", "yesterday"}, {"ftBCD", "12,5"},
        {"ftFMTBcd", "1e"}, {"ftBlob", "!!!"},    {"ftSmallint", "40000"},     {"ftFloat", " 1"}};
    for (const auto& [type, value] : cases) {
        const QByteArray bytes = header + type + "\t0\t-\nROWS\t1\nR\t" + value + "\nEND\n";
        EXPECT_THROW(DecodeClientData(bytes, QStringLiteral("v.cds")), EDatabaseError)
            << type << " " << value;
    }
}

// Object definitions nested without end must not recurse without end.
TEST(ClientDataFile, RefusesDeepNesting)
{
    QByteArray bytes = "#toolkit-clientdata 1\nFIELDS\t100000\n";
    for (int depth = 0; depth < 100000; ++depth)
        bytes += "FIELD\t" + QByteArray::number(depth) + "\tA\tftADT\t0\t-\n";
    bytes += "ROWS\t0\nEND\n";
    try {
        DecodeClientData(bytes, QStringLiteral("deep.cds"));
        FAIL() << "loaded";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().startsWith(QLatin1String("deep.cds: line 20: ")))
            << error.Message().toStdString();
    }
}

TEST(ClientDataFile, AcceptsWindowsLineEnds)
{
    QByteArray bytes = GoodFile();
    bytes.replace("\n", "\r\n");
    auto source = DecodeClientData(bytes, QStringLiteral("crlf.cds"));
    ASSERT_EQ(source->RowCount(), 2);
    EXPECT_EQ(source->Value(0, 1).ToString(), QStringLiteral("one"));
    EXPECT_TRUE(source->Value(1, 1).IsNull());
}

// A save that cannot complete leaves the previous file whole.
TEST(ClientDataFile, FailedSaveKeepsTheOldFile)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("data.cds"));
    auto source = SampleSource();
    SaveClientDataFile(*source, path);
    QByteArray before;
    ASSERT_TRUE(ReadFileBytes(path, before));

    for (int i = 0; i < 200; ++i)
        source->AppendRow(FullRow());
    {
        FileSizeLimit limit(static_cast<rlim_t>(before.size() + 100));
        EXPECT_THROW(SaveClientDataFile(*source, path), EDatabaseError);
    }
    QByteArray after;
    ASSERT_TRUE(ReadFileBytes(path, after));
    EXPECT_EQ(after, before);
    EXPECT_EQ(FindFiles(folder.Path(), QStringLiteral("*")), QStringList({QStringLiteral("data.cds")}));
}

TEST(ClientDataFile, SaveIntoAMissingFolderRaisesAndWritesNothing)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("missing/data.cds"));
    EXPECT_THROW(SaveClientDataFile(*SampleSource(), path), EDatabaseError);
    EXPECT_FALSE(FileExists(path));
    EXPECT_THROW(LoadClientDataFile(path), EDatabaseError);
}

// --- Query results -------------------------------------------------------------

class QueryDatabase {
public:
    explicit QueryDatabase(const QString& path)
    {
        if (sqlite3_open(path.toUtf8().constData(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot create test database");
    }
    ~QueryDatabase() { sqlite3_close(db_); }
    void Exec(const char* sql) { test::Exec(db_, QString::fromUtf8(sql)); }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

// A database file written through a connection of the test's own, and a
// TDatabase open on it for the loader.
class QueryRowsTest : public ::testing::Test {
protected:
    QueryRowsTest() : path_(folder_.File(QStringLiteral("q.db"))), db_(path_) {}
    ~QueryRowsTest() override { database_.Close(); }

    std::unique_ptr<TMemoryRecordSource> Load(const QString& sql)
    {
        if (!database_.Active()) {
            database_.SetDatabaseName(path_);
            database_.Open();
        }
        return LoadQueryRows(&database_, sql);
    }

    test::TempFolder folder_;
    QString path_;
    QueryDatabase db_;
    TDatabase database_;
};

TEST_F(QueryRowsTest, TypesFollowTheSqliteMappingAndEveryColumnIsEditable)
{
    db_.Exec(
        "CREATE TABLE t(id INTEGER PRIMARY KEY, qty INT, name VARCHAR(30), notes TEXT, price REAL,"
        " total DECIMAL(12,2), ratio NUMERIC(10,6), paid BOOLEAN, due DATE, at DATETIME, pic BLOB, odd JSON,"
        " n SMALLINT NOT NULL);"
        "INSERT INTO t VALUES(1, 5, 'Ana', 'a longer note', 1.5, '12.35', 0.1234567, 1, '2024-01-31',"
        " '2024-01-31 12:30:15.250', x'00ff', 7, 1);"
        "INSERT INTO t VALUES(2, NULL, NULL, 'x', NULL, 3, NULL, 0, 2460341.25, 1706704215, NULL, NULL, 2);");
    auto source = Load(QStringLiteral("SELECT t.*, qty * 2 AS doubled, 'k' AS k FROM t"));
    const std::vector<TFieldDef>& defs = source->ColumnDefs();
    const std::vector<std::pair<TFieldType, int>> expected = {
        {ftLargeint, 0}, {ftLargeint, 0}, {ftString, 30},  {ftString, 0},   {ftFloat, 0},
        {ftBCD, 2},      {ftFMTBcd, 6},   {ftBoolean, 0},  {ftDate, 0},     {ftDateTime, 0},
        {ftBlob, 0},     {ftString, 0},   {ftLargeint, 0}, {ftLargeint, 0}, {ftString, 0}};
    ASSERT_EQ(defs.size(), expected.size());
    for (size_t i = 0; i < defs.size(); ++i) {
        EXPECT_EQ(EnumName(defs[i].DataType), EnumName(expected[i].first)) << defs[i].Name.toStdString();
        EXPECT_EQ(defs[i].Size, expected[i].second) << defs[i].Name.toStdString();
        EXPECT_FALSE(defs[i].ReadOnly) << defs[i].Name.toStdString();
    }
    ASSERT_EQ(source->RowCount(), 2);
    EXPECT_TRUE(source->Value(0, 5).SameAs(Variant(TCurrency::FromTicks(123500))));
    EXPECT_TRUE(source->Value(0, 6).SameAs(Variant(TBcd::FromString("0.1234567"))));
    EXPECT_TRUE(source->Value(0, 7).SameAs(Variant(true)));
    EXPECT_EQ(source->Value(0, 8).ToDateTime(), EncodeDate(2024, 1, 31));
    EXPECT_NEAR(source->Value(0, 9).ToDateTime(), EncodeDate(2024, 1, 31) + EncodeTime(12, 30, 15, 250),
                1e-9);
    EXPECT_EQ(source->Value(0, 10).ToBytes(), QByteArray("\x00\xff", 2));
    EXPECT_EQ(source->Value(0, 11).ToString(), QStringLiteral("7"));
    EXPECT_EQ(source->Value(0, 13).ToInt64(), 10);
    // A julian day in a DATE column keeps its day; Unix seconds show in
    // local time.
    EXPECT_EQ(source->Value(1, 8).ToDateTime(), EncodeDate(2024, 1, 31));
    EXPECT_NEAR(source->Value(1, 9).ToDateTime(),
                DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(1706704215, Qt::UTC).toLocalTime()),
                1e-9);
    EXPECT_TRUE(source->Value(1, 2).IsNull());
    // The copy is writable, expression columns and the rowid included.
    std::vector<Variant> values(defs.size(), Variant("7"));
    std::vector<bool> changed(defs.size(), false);
    changed[0] = changed[1] = changed[13] = true;
    source->UpdateRow(0, values, changed);
    EXPECT_EQ(source->Value(0, 0).ToInt64(), 7);
    EXPECT_EQ(source->Value(0, 13).ToInt64(), 7);
}

TEST_F(QueryRowsTest, FailuresRaiseDatabaseErrors)
{
    db_.Exec(
        "CREATE TABLE t(n INT, d DATE); INSERT INTO t VALUES(1, NULL), (-9223372036854775807 - 1, NULL);");
    TDatabase closed;
    EXPECT_THROW(LoadQueryRows(&closed, QStringLiteral("SELECT 1")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(nullptr, QStringLiteral("SELECT 1")), EDatabaseError);
    for (const char* sql : {"SELECT * FROM missing", "SELEKT 1", "SELECT 1; DELETE FROM t",
                            "DELETE FROM t WHERE 0", "  ", "SELECT * FROM t WHERE n = :n",
                            // The second row fails while stepping.
                            "SELECT n, abs(n) FROM t ORDER BY rowid"}) {
        EXPECT_THROW(Load(QString::fromUtf8(sql)), EDatabaseError) << sql;
    }
    auto rows = Load(QStringLiteral("SELECT n FROM t ORDER BY rowid"));
    ASSERT_EQ(rows->RowCount(), 2);
    EXPECT_EQ(rows->Value(1, 0).ToInt64(), std::numeric_limits<qint64>::min());
}

TEST_F(QueryRowsTest, NamesAreMadeUniqueAndTextThatIsNoDateReadsNull)
{
    db_.Exec("CREATE TABLE u(d DATE); INSERT INTO u VALUES('not a date'), ('2024-02-29');");
    // A trailing semicolon is one statement.
    EXPECT_EQ(Load(QStringLiteral("SELECT 1 AS a, 2 AS a, 3 AS A;"))->ColumnNames(),
              QStringList({QStringLiteral("a"), QStringLiteral("a_1"), QStringLiteral("A_2")}));
    auto dates = Load(QStringLiteral("SELECT d FROM u ORDER BY rowid"));
    EXPECT_TRUE(dates->Value(0, 0).IsNull());
    EXPECT_EQ(dates->Value(1, 0).ToDateTime(), EncodeDate(2024, 2, 29));
}

// --- TClientDataSet ---------------------------------------------------------------

// A link that counts the notifications a grid would act on.
class CountingLink : public TDataLink {
public:
    int changed = 0;

protected:
    void DataSetChanged() override { ++changed; }
};

std::vector<TFieldDef> PeopleDefs()
{
    return {Def(QStringLiteral("Id"), ftInteger), Def(QStringLiteral("Name"), ftString, 20),
            Def(QStringLiteral("Born"), ftDate), Def(QStringLiteral("Photo"), ftBlob)};
}

void AppendPerson(TClientDataSet& people, int id, const QString& name)
{
    people.Append();
    people.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
    people.FieldByName(QStringLiteral("Name"))->SetAsString(name);
    people.Post();
}

QStringList Names(TDataSet& dataSet)
{
    QStringList names;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        names << dataSet.FieldByName(QStringLiteral("Name"))->AsString();
    return names;
}

TEST(ClientDataSet, CreateEditSaveAndLoadAgain)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("people.cds"));
    {
        TClientDataSet people;
        people.FieldDefs() = PeopleDefs();
        people.CreateDataSet();
        AppendPerson(people, 1, QStringLiteral("Zoë\tTab"));
        AppendPerson(people, 2, QStringLiteral("Ana\nLine"));
        people.Edit();
        people.FieldByName(QStringLiteral("Born"))->SetAsDateTime(EncodeDate(1990, 5, 17));
        people.Post();
        people.SaveToFile(path);
    }
    TClientDataSet again;
    again.LoadFromFile(path);
    ASSERT_TRUE(again.Active());
    EXPECT_EQ(again.RecordCount(), 2);
    EXPECT_EQ(Names(again), QStringList({QStringLiteral("Zoë\tTab"), QStringLiteral("Ana\nLine")}));
    EXPECT_EQ(again.FieldByName(QStringLiteral("Born"))->AsDateTime(), EncodeDate(1990, 5, 17));
    EXPECT_TRUE(again.FieldByName(QStringLiteral("Photo"))->IsNull());
    EXPECT_EQ(again.FieldDefs().size(), 4u);
}

// With FileName set, Close writes changed rows back; unchanged rows leave
// the file alone.
TEST(ClientDataSet, CloseSavesChangesToFileName)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("people.cds"));
    TClientDataSet people;
    people.SetFileName(path);
    people.FieldDefs() = PeopleDefs();
    people.Open();  // no file yet: empty, with the definitions
    people.Close();
    EXPECT_FALSE(FileExists(path)) << "nothing changed, nothing written";

    people.Open();
    AppendPerson(people, 1, QStringLiteral("Ana"));
    people.Close();
    ASSERT_TRUE(FileExists(path));

    people.Open();
    EXPECT_EQ(Names(people), QStringList({QStringLiteral("Ana")}));
    ASSERT_TRUE(SetFileAge(path, QDateTime::currentDateTime().addDays(-1)));
    const QDateTime age = FileAge(path);
    people.Close();
    EXPECT_EQ(FileAge(path), age);
}

TEST(ClientDataSet, FailedSaveOnCloseKeepsTheRowsOpen)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("people.cds"));
    TClientDataSet people;
    people.SetFileName(path);
    people.FieldDefs() = PeopleDefs();
    people.Open();
    AppendPerson(people, 1, QStringLiteral("Ana"));
    people.SaveToFile();
    QByteArray before;
    ASSERT_TRUE(ReadFileBytes(path, before));
    for (int i = 2; i < 200; ++i)
        AppendPerson(people, i, QStringLiteral("Person %1").arg(i));
    {
        FileSizeLimit limit(static_cast<rlim_t>(before.size() + 10));
        EXPECT_THROW(people.Close(), EDatabaseError);
    }
    EXPECT_TRUE(people.Active());
    EXPECT_EQ(people.RecordCount(), 199);
    QByteArray after;
    ASSERT_TRUE(ReadFileBytes(path, after));
    EXPECT_EQ(after, before);
    people.Close();  // now it can write
    people.Open();
    EXPECT_EQ(people.RecordCount(), 199);
}

TEST(ClientDataSet, DamagedFileOpensNothing)
{
    test::TempFolder folder;
    const QString good = folder.File(QStringLiteral("good.cds"));
    TClientDataSet people;
    people.FieldDefs() = PeopleDefs();
    people.CreateDataSet();
    AppendPerson(people, 1, QStringLiteral("Ana"));
    people.SaveToFile(good);
    QByteArray bytes;
    ASSERT_TRUE(ReadFileBytes(good, bytes));
    const QString damaged = folder.Write(QStringLiteral("damaged.cds"), bytes.left(bytes.size() - 6));

    // Open: the dataset stays closed.
    TClientDataSet other;
    other.SetFileName(damaged);
    try {
        other.Open();
        FAIL() << "a truncated file opened";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(damaged)) << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains(QLatin1String("line"))) << error.Message().toStdString();
    }
    EXPECT_FALSE(other.Active());
    // LoadFromFile: the rows already open stay.
    EXPECT_THROW(people.LoadFromFile(damaged), EDatabaseError);
    ASSERT_TRUE(people.Active());
    EXPECT_EQ(Names(people), QStringList({QStringLiteral("Ana")}));
    EXPECT_THROW(other.LoadFromFile(folder.File(QStringLiteral("missing.cds"))), EDatabaseError);
    EXPECT_FALSE(other.Active());
}

TEST(ClientDataSet, PersistentFieldsGiveTheStructure)
{
    TClientDataSet people;
    for (const TFieldDef& def : PeopleDefs())
        CreateFieldForDef(def, &people)->SetDataSet(&people);
    people.CreateDataSet();
    AppendPerson(people, 7, QStringLiteral("Eva"));
    EXPECT_FALSE(people.DefaultFields());
    EXPECT_EQ(people.FieldByName(QStringLiteral("Id"))->AsInteger(), 7);
    EXPECT_EQ(people.FieldDefs().size(), 4u);
}

TEST(ClientDataSet, OpeningWithoutRowsRaises)
{
    TClientDataSet empty;
    EXPECT_THROW(empty.Open(), EDatabaseError);
    EXPECT_THROW(empty.CreateDataSet(), EDatabaseError);  // no definitions
    EXPECT_FALSE(empty.Active());
}

// Changing IndexFieldNames on an open dataset re-sorts, stays on the same
// record and tells the links.
TEST(ClientDataSet, IndexFieldNamesSortsAndKeepsTheRecord)
{
    TClientDataSet people;
    people.FieldDefs() = PeopleDefs();
    people.CreateDataSet();
    AppendPerson(people, 1, QStringLiteral("carla"));
    AppendPerson(people, 2, QStringLiteral("Bea"));
    AppendPerson(people, 3, QStringLiteral("ana"));
    TDataSource source;
    source.SetDataSet(&people);
    CountingLink link;
    link.SetDataSource(&source);

    ASSERT_TRUE(people.Locate(QStringLiteral("Id"), Variant(2)));
    link.changed = 0;
    people.SetIndexFieldNames(QStringLiteral("Name"));
    EXPECT_GE(link.changed, 1);
    EXPECT_EQ(people.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Bea"));
    EXPECT_EQ(people.RecNo(), 2);
    EXPECT_EQ(Names(people),
              QStringList({QStringLiteral("ana"), QStringLiteral("Bea"), QStringLiteral("carla")}));

    // A new record goes to its sorted place.
    AppendPerson(people, 4, QStringLiteral("Bob"));
    EXPECT_EQ(Names(people), QStringList({QStringLiteral("ana"), QStringLiteral("Bea"), QStringLiteral("Bob"),
                                          QStringLiteral("carla")}));

    EXPECT_THROW(people.SetIndexFieldNames(QStringLiteral("Nope")), EDatabaseError);
    EXPECT_EQ(people.IndexFieldNames(), QStringLiteral("Name"));
    people.SetIndexFieldNames(QString());
    EXPECT_EQ(Names(people), QStringList({QStringLiteral("carla"), QStringLiteral("Bea"),
                                          QStringLiteral("ana"), QStringLiteral("Bob")}));
    // Set while closed, it applies at the next open.
    people.Close();
    people.SetIndexFieldNames(QStringLiteral("Id"));
    EXPECT_EQ(people.IndexFieldNames(), QStringLiteral("Id"));
}

TEST(ClientDataSet, CopiesASelectAndKeepsEditsInMemory)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("shop.db"));
    {
        QueryDatabase db(path);
        db.Exec(
            "CREATE TABLE items(id INTEGER PRIMARY KEY, name VARCHAR(20), price DECIMAL(10,2), note TEXT);"
            "INSERT INTO items VALUES(1, 'pen', 1.25, 'short'), (2, 'ink', 7.5, NULL);");
    }
    TDatabase database;
    database.SetDatabaseName(path);
    TClientDataSet items;
    items.SetDatabase(&database);
    items.SetCommandText(QStringLiteral("SELECT * FROM items ORDER BY id"));
    EXPECT_THROW(items.Open(), EDatabaseError);  // database not connected
    EXPECT_FALSE(items.Active());

    database.Open();
    items.Open();
    EXPECT_EQ(items.RecordCount(), 2);
    EXPECT_EQ(items.FieldByName(QStringLiteral("price"))->DataType(), ftBCD);
    EXPECT_EQ(items.FieldByName(QStringLiteral("name"))->Size(), 20);
    items.Edit();
    items.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("pencil"));
    // Text without a declared length takes any length.
    const QString longNote(300, QLatin1Char('n'));
    items.FieldByName(QStringLiteral("note"))->SetAsString(longNote);
    items.Post();
    EXPECT_EQ(items.FieldByName(QStringLiteral("note"))->AsString(), longNote);
    items.Delete();
    EXPECT_EQ(items.RecordCount(), 1);

    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(database.Handle(), "SELECT count(*), min(name) FROM items", -1, &statement,
                                 nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(statement, 0), 2);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)), "ink");
    sqlite3_finalize(statement);

    items.Close();
    items.SetCommandText(QStringLiteral("SELECT * FROM nowhere"));
    EXPECT_THROW(items.Open(), EDatabaseError);
    EXPECT_FALSE(items.Active());
    items.SetCommandType(cmdTable);
    items.SetCommandText(QStringLiteral("items"));
    items.Open();
    EXPECT_EQ(items.RecordCount(), 2);
    items.Close();
}

TEST(ClientDataSet, CopiesIntegersBeyond32BitsExactly)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("big.db"));
    QueryDatabase(path).Exec("CREATE TABLE big(id INTEGER PRIMARY KEY, n INTEGER, label TEXT);"
                             "INSERT INTO big VALUES (1, 5000000000, 'a'), (2, -5000000000, 'b');");
    TDatabase database;
    database.SetDatabaseName(path);
    database.Open();
    TClientDataSet big;
    big.SetDatabase(&database);
    big.SetCommandText(QStringLiteral("SELECT n, label FROM big ORDER BY id"));
    big.Open();
    TField* n = big.FieldByName(QStringLiteral("n"));
    EXPECT_EQ(n->AsLargeInt(), 5000000000LL);
    big.Edit();
    big.FieldByName(QStringLiteral("label"))->SetAsString(QStringLiteral("changed"));
    big.Post();
    EXPECT_EQ(n->AsLargeInt(), 5000000000LL);
    big.Next();
    EXPECT_EQ(n->AsLargeInt(), -5000000000LL);
    big.First();
    EXPECT_EQ(big.FieldByName(QStringLiteral("label"))->AsString(), QStringLiteral("changed"));
    EXPECT_EQ(n->AsLargeInt(), 5000000000LL);
    big.Close();
}

TEST(ClientDataSet, PublishesItsPropertiesWithDefaults)
{
    TClientDataSet dataSet;
    const QMetaObject* meta = dataSet.metaObject();
    for (const char* name :
         {"FileName", "IndexFieldNames", "CommandText", "Database", "CommandType", "CursorLocation"})
        EXPECT_GE(meta->indexOfProperty(name), 0) << name;
    EXPECT_EQ(dataSet.property("CommandType").value<TCommandType>(), cmdText);
    EXPECT_EQ(dataSet.property("CursorLocation").value<TCursorLocation>(), clUseClient);
    EXPECT_STREQ(meta->classInfo(meta->indexOfClassInfo("Default:CommandType")).value(), "cmdText");
}

}  // namespace
}  // namespace tk

namespace tk {
namespace {

// A walk that moves the cursor and puts it back keeps the end it had
// reached, but only where that end still holds.
TEST(ClientDataSet, RestoredCursorEndsHoldOnlyWhereTheyStillApply)
{
    TClientDataSet dataSet;
    dataSet.FieldDefs() = {test::Def(QStringLiteral("Id"), ftInteger)};
    dataSet.CreateDataSet();
    const auto append = [&dataSet](int id) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        dataSet.Post();
    };
    for (int id = 1; id <= 4; ++id)
        append(id);
    const auto walkAndComeBack = [&dataSet] {
        const TBookmark place = dataSet.GetBookmark();
        const TDataSet::TCursorEnds ends = dataSet.CursorEnds();
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        }
        dataSet.SetCursorToBookmark(place);
        dataSet.RestoreCursorEnds(ends);
    };

    dataSet.Last();
    walkAndComeBack();
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_FALSE(dataSet.Bof());
    EXPECT_EQ(dataSet.RecNo(), 4);
    dataSet.First();
    walkAndComeBack();
    EXPECT_TRUE(dataSet.Bof());
    EXPECT_FALSE(dataSet.Eof());
    dataSet.MoveBy(2);
    walkAndComeBack();
    EXPECT_FALSE(dataSet.Bof());
    EXPECT_FALSE(dataSet.Eof());

    // At the end, then a record appended after it: the old last record is
    // no longer at the end.
    dataSet.Last();
    const TBookmark place = dataSet.GetBookmark();
    const TDataSet::TCursorEnds ends = dataSet.CursorEnds();
    append(5);
    dataSet.SetCursorToBookmark(place);
    dataSet.RestoreCursorEnds(ends);
    EXPECT_FALSE(dataSet.Eof());
    EXPECT_EQ(dataSet.RecNo(), 4);
}

}  // namespace
}  // namespace tk
