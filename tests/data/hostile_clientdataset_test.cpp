// Client-dataset files under damage: mutated and truncated copies of real
// files (every storage kind, object columns, nested tables) either raise
// EDatabaseError naming the file and line, leaving the open dataset with
// exactly the rows it had, or load rows that save and load back the same.

#include "toolkit/data/clientdataset.h"
#include "toolkit/data/field.h"
#include "toolkit/data/fields.h"

#include "tests/support/field_def.h"
#include "tests/support/mutator.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::Def;

// Every field of every record (object fields by their sub-fields), the
// nested tables' rows inside their parent's.
QString Dump(TDataSet& dataSet)
{
    if (!dataSet.Active())
        return QStringLiteral("(closed)");
    QStringList lines;
    QStringList header;
    const TFields& fields = dataSet.FieldList();
    for (int i = 0; i < fields.Count(); ++i) {
        const TField* field = fields.Field(i);
        header << QStringLiteral("%1:%2").arg(field->FieldName()).arg(int(field->DataType()));
    }
    lines << header.join(QLatin1Char(' '));
    const int recNo = dataSet.RecNo();
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        QStringList values;
        for (int i = 0; i < fields.Count(); ++i) {
            TField* field = fields.Field(i);
            if (qobject_cast<TObjectField*>(field) && !qobject_cast<TDataSetField*>(field))
                continue;  // its sub-fields follow
            if (auto* nested = qobject_cast<TDataSetField*>(field))
                values << QLatin1Char('{') + Dump(*nested->NestedDataSet()) + QLatin1Char('}');
            else
                values << (field->IsNull() ? QStringLiteral("\\N") : field->AsString());
        }
        lines << values.join(QLatin1Char('|'));
    }
    if (recNo > 0)
        dataSet.SetRecNo(recNo);
    return lines.join(QLatin1Char('\n'));
}

// A file of every storage kind, an object column and empty and Null values.
QByteArray FlatFile(const test::TempFolder& folder)
{
    TFieldDef address = Def(QStringLiteral("Address"), ftADT);
    address.ChildDefs = {Def(QStringLiteral("Street"), ftWideString, 40), Def(QStringLiteral("Zip"), ftInteger)};
    TClientDataSet dataSet;
    dataSet.FieldDefs() = {Def(QStringLiteral("Id"), ftInteger, 0, true),
                           Def(QStringLiteral("Small"), ftSmallint),
                           Def(QStringLiteral("Big"), ftLargeint),
                           Def(QStringLiteral("Flag"), ftBoolean),
                           Def(QStringLiteral("Ratio"), ftFloat),
                           Def(QStringLiteral("Amount"), ftBCD, 4),
                           Def(QStringLiteral("Exact"), ftFMTBcd, 8),
                           Def(QStringLiteral("Day"), ftDate),
                           Def(QStringLiteral("Text"), ftString, 30),
                           Def(QStringLiteral("Notes"), ftMemo),
                           Def(QStringLiteral("Data"), ftBlob),
                           address};
    dataSet.CreateDataSet();
    for (int id = 1; id <= 4; ++id) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        if (id != 3) {
            dataSet.FieldByName(QStringLiteral("Small"))->SetAsInteger(-32768 + id);
            dataSet.FieldByName(QStringLiteral("Big"))->SetAsString(QStringLiteral("9007199254740993"));
            dataSet.FieldByName(QStringLiteral("Flag"))->SetAsBoolean(id % 2 == 0);
            dataSet.FieldByName(QStringLiteral("Ratio"))->SetAsFloat(0.1 * id);
            dataSet.FieldByName(QStringLiteral("Amount"))->SetAsString(QStringLiteral("-12.3456"));
            dataSet.FieldByName(QStringLiteral("Exact"))->SetAsString(QStringLiteral("12345678901234.12345678"));
            dataSet.FieldByName(QStringLiteral("Day"))->SetAsFloat(45000 + id);
            dataSet.FieldByName(QStringLiteral("Text"))->SetAsString(QStringLiteral("tab\there \\N ñ"));
            dataSet.FieldByName(QStringLiteral("Notes"))->SetAsString(QStringLiteral("line 1\nline 2\r\nEND"));
            dataSet.FieldByName(QStringLiteral("Data"))->SetAsVariant(Variant(QByteArray("\x00\x01\xff\n", 4)));
            dataSet.FieldByName(QStringLiteral("Address.Street"))->SetAsString(QStringLiteral("Calle Mayor"));
            dataSet.FieldByName(QStringLiteral("Address.Zip"))->SetAsInteger(28000 + id);
        }
        dataSet.Post();
    }
    const QString path = folder.File(QStringLiteral("flat.cds"));
    dataSet.SaveToFile(path);
    return folder.Read(QStringLiteral("flat.cds"));
}

// Customers with their orders, each order with its lines: tables nested two
// deep, each nested value a file of its own.
QByteArray NestedFile(const test::TempFolder& folder)
{
    TFieldDef lines = Def(QStringLiteral("Lines"), ftDataSet);
    lines.ChildDefs = {Def(QStringLiteral("Text"), ftString, 10)};
    TFieldDef orders = Def(QStringLiteral("Orders"), ftDataSet);
    orders.ChildDefs = {Def(QStringLiteral("Item"), ftString, 20), Def(QStringLiteral("Qty"), ftInteger), lines};
    TClientDataSet customers;
    customers.FieldDefs() = {Def(QStringLiteral("Name"), ftString, 20), orders};
    customers.CreateDataSet();
    for (const char* name : {"Ana", "Bernardo"}) {
        customers.Append();
        customers.FieldByName(QStringLiteral("Name"))->SetAsString(QString::fromLatin1(name));
        TDataSet* nested = qobject_cast<TDataSetField*>(customers.FieldByName(QStringLiteral("Orders")))->NestedDataSet();
        for (int qty = 1; qty <= 2; ++qty) {
            nested->Append();
            nested->FieldByName(QStringLiteral("Item"))->SetAsString(QStringLiteral("pen"));
            nested->FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
            TDataSet* deepest =
                qobject_cast<TDataSetField*>(nested->FieldByName(QStringLiteral("Lines")))->NestedDataSet();
            deepest->Append();
            deepest->FieldByName(QStringLiteral("Text"))->SetAsString(QStringLiteral("blue"));
            nested->Post();
        }
        customers.Post();
    }
    customers.SaveToFile(folder.File(QStringLiteral("nested.cds")));
    return folder.Read(QStringLiteral("nested.cds"));
}

const QByteArrayList kFileTokens = {"\t", "\n", "\\", "\\N", "\\t", "\\q", "R\t", "END\n", "FIELD\t0\tX\tftString\t5\t-\n",
                                    "ROWS\t", "FIELDS\t", "ftDataSet", "ftADT", "16777217", "17", "RO", "=="};

class HostileClientDataTest : public ::testing::TestWithParam<bool> {
protected:
    QByteArray Valid() { return GetParam() ? NestedFile(folder) : FlatFile(folder); }

    // Loads bytes into the open dataset; true when they loaded. A refusal
    // must name the file and line and leave the rows as they were.
    bool LoadChecked(const QByteArray& bytes)
    {
        const QString path = folder.Write(QStringLiteral("damaged.cds"), bytes);
        const QString before = Dump(dataSet);
        try {
            dataSet.LoadFromFile(path);
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().startsWith(path + QStringLiteral(": line "))) << e.Message().toStdString();
            EXPECT_EQ(Dump(dataSet), before);
            return false;
        }
        return true;
    }

    // What loaded saves and loads back as the same rows.
    void ExpectStableRoundTrip()
    {
        const QString rows = Dump(dataSet);
        const QString path = folder.File(QStringLiteral("again.cds"));
        dataSet.SaveToFile(path);
        TClientDataSet again;
        again.LoadFromFile(path);
        EXPECT_EQ(Dump(again), rows);
    }

    test::TempFolder folder;
    TClientDataSet dataSet;
};

TEST_P(HostileClientDataTest, MutatedFilesRaiseOrLoadWhole)
{
    const QByteArray valid = Valid();
    dataSet.LoadFromFile(folder.Write(QStringLiteral("valid.cds"), valid));
    dataSet.Next();  // the cursor's place is part of what must survive
    test::TMutator mutator(valid, GetParam() ? 2113 : 2111, kFileTokens);
    int loaded = 0;
    for (int i = 0; i < 300; ++i) {
        const test::TMutation mutation = mutator.Next();
        SCOPED_TRACE(mutator.Trace(i, mutation).toStdString());
        if (!LoadChecked(mutation.bytes))
            continue;
        ++loaded;
        ExpectStableRoundTrip();
        if (::testing::Test::HasFailure())
            return;
        dataSet.LoadFromFile(folder.File(QStringLiteral("valid.cds")));
    }
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 270);
}

TEST_P(HostileClientDataTest, EveryTruncationRaises)
{
    const QByteArray valid = Valid();
    dataSet.LoadFromFile(folder.Write(QStringLiteral("valid.cds"), valid));
    // Every few bytes, and at both sides of each line and field break
    // (without the final line break the file is whole).
    QList<int> breaks;
    for (int at = 0; at < valid.size(); ++at)
        if (valid[at] == '\n' || valid[at] == '\t')
            breaks << at << at + 1;
    for (const QByteArray& cut : test::Truncations(valid.chopped(1), 5, breaks)) {
        SCOPED_TRACE(cut.size());
        EXPECT_FALSE(LoadChecked(cut));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, HostileClientDataTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Nested" : "Flat"; });

// Counts are checked against the lines present before anything is
// reserved: a count of 2^31 neither loops nor allocates.
TEST(HostileClientDataCountTest, HugeCountsAndSizesRaiseAtOnce)
{
    test::TempFolder folder;
    const QByteArray head = "#toolkit-clientdata 1\n";
    const QByteArray field = "FIELD\t0\tName\tftString\t20\t-\n";
    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"fields", head + "FIELDS\t2147483647\n" + field + "ROWS\t0\nEND\n"},
        {"rows", head + "FIELDS\t1\n" + field + "ROWS\t2147483647\nR\tAna\nEND\n"},
        {"rows beyond 64 bits", head + "FIELDS\t1\n" + field + "ROWS\t99999999999999999999\nEND\n"},
        {"negative rows", head + "FIELDS\t1\n" + field + "ROWS\t-1\nEND\n"},
        {"size", head + "FIELDS\t1\nFIELD\t0\tName\tftString\t4294967296\t-\nROWS\t0\nEND\n"},
        {"depth", head + "FIELDS\t1\nFIELD\t2147483647\tName\tftString\t20\t-\nROWS\t0\nEND\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TClientDataSet dataSet;
        const QString path = folder.Write(QStringLiteral("counts.cds"), c.text);
        try {
            dataSet.LoadFromFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().startsWith(path + QStringLiteral(": line "))) << e.Message().toStdString();
        }
        EXPECT_FALSE(dataSet.Active());
    }
}

}  // namespace
}  // namespace tk
