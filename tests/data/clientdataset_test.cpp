#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/data/clientdatasetfile.h"
#include "toolkit/data/clientdatasetquery.h"

#include "tests/support/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>
#include <csignal>
#include <sys/resource.h>

namespace tk {
namespace {

TFieldDef Def(const QString& name, TFieldType type, int size = 0)
{
    TFieldDef def;
    def.Name = name;
    def.DataType = type;
    def.Size = size;
    return def;
}

// One column of every storage flavour, an object column with children, and
// flags, so that a round trip covers the whole format.
std::vector<TFieldDef> AllTypeDefs()
{
    TFieldDef address = Def(QStringLiteral("Address"), ftADT);
    address.ChildDefs = {Def(QStringLiteral("Street"), ftWideString, 40), Def(QStringLiteral("Zip"), ftInteger)};
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
                << a.Value(row, column).ToString().toStdString() << " vs " << b.Value(row, column).ToString().toStdString();
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
        DamageCase{"newer version", Replace(GoodFile(), "clientdata 1", "clientdata 2"), 1},
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
        {"ftBoolean", "2"},      {"ftFloat", "1.5.2"},  {"ftDateTime", "yesterday"}, {"ftBCD", "12,5"},
        {"ftFMTBcd", "1e"},      {"ftBlob", "!!!"},     {"ftSmallint", "40000"},     {"ftFloat", " 1"}};
    for (const auto& [type, value] : cases) {
        const QByteArray bytes = header + type + "\t0\t-\nROWS\t1\nR\t" + value + "\nEND\n";
        EXPECT_THROW(DecodeClientData(bytes, QStringLiteral("v.cds")), EDatabaseError) << type << " " << value;
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

// Limits the size of files this process writes while it lives, so that a
// save fails half-way (also for root, whom permissions do not stop).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t previousHandler_ = nullptr;
};

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
    void Exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "sqlite error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};

TEST(QueryRows, DeclaredTypesDecideFieldTypes)
{
    test::TempFolder folder;
    QueryDatabase db(folder.File(QStringLiteral("q.db")));
    db.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, qty INT, name VARCHAR(30), notes TEXT, price REAL,"
            " total DECIMAL(12,2), ratio NUMERIC(10,6), paid BOOLEAN, due DATE, at DATETIME, pic BLOB, odd JSON);"
            "INSERT INTO t VALUES(1, 5, 'Ana', 'a longer note', 1.5, '12.35', 0.1234567, 1, '2024-01-31',"
            " '2024-01-31 12:30:15.250', x'00ff', 7);"
            "INSERT INTO t VALUES(2, NULL, NULL, 'x', NULL, 3, NULL, 0, 2460341.25, 1706704215, NULL, NULL);");
    auto source = LoadQueryRows(db.Handle(), QStringLiteral("SELECT t.*, qty * 2 AS doubled, 'k' AS k FROM t"));
    const std::vector<TFieldDef>& defs = source->ColumnDefs();
    const std::vector<std::pair<TFieldType, int>> expected = {
        {ftLargeint, 0}, {ftInteger, 0}, {ftString, 30}, {ftString, 13}, {ftFloat, 0},    {ftBCD, 2},
        {ftFMTBcd, 6},   {ftBoolean, 0}, {ftDateTime, 0}, {ftDateTime, 0}, {ftBlob, 0}, {ftLargeint, 0},
        {ftLargeint, 0}, {ftString, 1}};
    ASSERT_EQ(defs.size(), expected.size());
    for (size_t i = 0; i < defs.size(); ++i) {
        EXPECT_EQ(defs[i].DataType, expected[i].first) << defs[i].Name.toStdString();
        EXPECT_EQ(defs[i].Size, expected[i].second) << defs[i].Name.toStdString();
    }
    ASSERT_EQ(source->RowCount(), 2);
    EXPECT_TRUE(source->Value(0, 5).SameAs(Variant(TCurrency::FromTicks(123500))));
    EXPECT_TRUE(source->Value(0, 6).SameAs(Variant(TBcd::FromString("0.1234567"))));
    EXPECT_TRUE(source->Value(0, 7).SameAs(Variant(true)));
    EXPECT_EQ(source->Value(0, 8).ToDateTime(), EncodeDate(2024, 1, 31));
    EXPECT_NEAR(source->Value(0, 9).ToDateTime(), EncodeDate(2024, 1, 31) + EncodeTime(12, 30, 15, 250), 1e-9);
    EXPECT_EQ(source->Value(0, 10).ToBytes(), QByteArray("\x00\xff", 2));
    EXPECT_EQ(source->Value(0, 12).ToInt64(), 10);
    // Julian day and Unix seconds are SQLite's other date forms.
    EXPECT_EQ(source->Value(1, 8).ToDateTime(), EncodeDate(2024, 1, 31) + 0.75);
    EXPECT_NEAR(source->Value(1, 9).ToDateTime(),
                DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(1706704215).toLocalTime()), 1e-9);
    EXPECT_TRUE(source->Value(1, 2).IsNull());
    // The copy is writable.
    source->UpdateRow(0, std::vector<Variant>(defs.size(), Variant("7")),
                      {false, true, false, false, false, false, false, false, false, false, false, false, false, false});
    EXPECT_EQ(source->Value(0, 1).ToInt(), 7);
}

TEST(QueryRows, FailuresRaiseDatabaseErrors)
{
    test::TempFolder folder;
    QueryDatabase db(folder.File(QStringLiteral("q.db")));
    db.Exec("CREATE TABLE t(n INT, d DATE); INSERT INTO t VALUES(99999999999, NULL);"
            "CREATE TABLE u(d DATE); INSERT INTO u VALUES('not a date');");
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("SELECT * FROM missing")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("SELEKT 1")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("SELECT 1; DELETE FROM t")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("DELETE FROM t WHERE 0")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("  ")), EDatabaseError);
    EXPECT_THROW(LoadQueryRows(nullptr, QStringLiteral("SELECT 1")), EDatabaseError);
    try {
        LoadQueryRows(db.Handle(), QStringLiteral("SELECT n FROM t"));
        FAIL() << "a 64-bit value loaded into an INT column";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String("'n'"))) << error.Message().toStdString();
    }
    EXPECT_THROW(LoadQueryRows(db.Handle(), QStringLiteral("SELECT d FROM u")), EDatabaseError);
    // A trailing semicolon is one statement.
    EXPECT_EQ(LoadQueryRows(db.Handle(), QStringLiteral("SELECT 1 AS a, 2 AS a;"))->ColumnNames(),
              QStringList({QStringLiteral("a"), QStringLiteral("a_1")}));
}

}  // namespace
}  // namespace tk
