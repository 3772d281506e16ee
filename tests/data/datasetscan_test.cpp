// TDataSet::ScanFieldValues: a field's values of every record straight from
// the source are what a First/Next walk reads, in the same order, on an
// SQLite query (also after rows were inserted and deleted through it) and a
// sorted client dataset; the cursor stays and nobody hears of the scan; a
// dataset whose records are not the source's rows, or a field that does not
// read a source column, refuses and visits nothing.

#include "tests/data/sqlitesource_fixture.h"
#include "tests/support/field_def.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"

#include <gtest/gtest.h>

namespace tk::test {
namespace {

// "Double 1.5|Null|Int64 3": each value's kind and text.
QString Describe(const VariantArray& values)
{
    QStringList parts;
    for (const Variant& value : values)
        parts << (value.IsEmptyOrNull() ? VariantKindName(value.Kind())
                                        : VariantKindName(value.Kind()) + u' ' + value.ToString());
    return parts.join(u'|');
}

QString Walked(TDataSet& dataSet, const QString& field)
{
    VariantArray values;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        values.push_back(dataSet.FieldByName(field)->AsVariant());
    return Describe(values);
}

// Scans and returns the values; "refused" when the dataset said no (and
// then must have visited nothing).
QString Scanned(TDataSet& dataSet, const TField* field)
{
    VariantArray values;
    const bool scanned = dataSet.ScanFieldValues(field, [&](const Variant& value) { values.push_back(value); });
    if (!scanned)
        return values.empty() ? QStringLiteral("refused") : QStringLiteral("refused after visiting");
    return Describe(values);
}

class DataSetScanTest : public SqliteFixture {
protected:
    DataSetScanTest()
    {
        Exec(QStringLiteral(R"(CREATE TABLE t(id INTEGER PRIMARY KEY, qty INTEGER, amount REAL, price MONEY);
            INSERT INTO t VALUES (1, 4, 0.1, 2.5), (2, NULL, 1e16, NULL), (3, -7, NULL, 0.0001),
                                 (4, 9, -1e16, 12), (5, 2, 0.2, 3);)"));
    }
    void OpenQuery(const QString& sql = QStringLiteral("SELECT * FROM t ORDER BY qty DESC"))
    {
        query.SetDatabase(&OpenDatabase());
        query.SQL()->SetText(sql);
        query.Open();
    }
    TField* Field(TDataSet& dataSet, const char* name) { return dataSet.FieldByName(QString::fromLatin1(name)); }

    TQuery query;
};

TEST_F(DataSetScanTest, AQueryScanReadsWhatTheWalkReadsInItsOrderWithoutMovingOrTelling)
{
    OpenQuery();
    query.SetRecNo(3);
    int scrolls = 0;
    query.AfterScroll = [&](TDataSet*) { ++scrolls; };
    for (const char* name : {"id", "qty", "amount", "price"}) {
        const QString scanned = Scanned(query, Field(query, name));
        EXPECT_EQ(query.RecNo(), 3) << name;
        EXPECT_EQ(scrolls, 0) << name;
        EXPECT_EQ(scanned, Walked(query, QString::fromLatin1(name))) << name;
        query.SetRecNo(3);
        scrolls = 0;
    }
    // Rows unfetched at the start are fetched by the scan.
    EXPECT_EQ(Scanned(query, Field(query, "id")), QStringLiteral("Int64 4|Int64 1|Int64 5|Int64 3|Int64 2"));
}

TEST_F(DataSetScanTest, RowsInsertedAndDeletedThroughTheQueryAreScannedWhereTheWalkFindsThem)
{
    OpenQuery(QStringLiteral("SELECT * FROM t"));
    query.SetRecNo(2);
    query.Insert();
    Field(query, "id")->SetAsInteger(10);
    Field(query, "amount")->SetAsFloat(0.3);
    query.Post();
    query.Locate(QStringLiteral("id"), Variant(4));
    query.Delete();
    EXPECT_EQ(Scanned(query, Field(query, "amount")), Walked(query, QStringLiteral("amount")));
    EXPECT_EQ(Scanned(query, Field(query, "id")), Walked(query, QStringLiteral("id")));
}

TEST_F(DataSetScanTest, ASortedClientDataSetIsScannedInItsIndexOrder)
{
    TClientDataSet rows;
    rows.FieldDefs() = {Def(QStringLiteral("Id"), ftInteger), Def(QStringLiteral("Cost"), ftCurrency),
                        Def(QStringLiteral("Name"), ftString, 10)};
    rows.CreateDataSet();
    const char* const names[] = {"d", "b", "e", "a", "c"};
    for (int i = 0; i < 5; ++i) {
        rows.Append();
        Field(rows, "Id")->SetAsInteger(i + 1);
        if (i != 2)
            Field(rows, "Cost")->SetAsFloat(i * 1.25);
        Field(rows, "Name")->SetAsString(QString::fromLatin1(names[i]));
        rows.Post();
    }
    rows.SetIndexFieldNames(QStringLiteral("Name"));
    EXPECT_EQ(Scanned(rows, Field(rows, "Id")), QStringLiteral("Int32 4|Int32 2|Int32 5|Int32 1|Int32 3"));
    EXPECT_EQ(Scanned(rows, Field(rows, "Cost")), Walked(rows, QStringLiteral("Cost")));
}

TEST_F(DataSetScanTest, RefusedWhereTheRecordsAreNotTheSourcesRowsOrTheFieldReadsNoColumn)
{
    OpenQuery();
    TField* qty = Field(query, "qty");

    // A filter rejects rows the source still has.
    query.OnFilterRecord = [](TDataSet* dataSet, bool& accept) {
        accept = dataSet->FieldByName(QStringLiteral("id"))->AsInteger() != 2;
    };
    query.SetFiltered(true);
    EXPECT_EQ(Scanned(query, qty), QStringLiteral("refused"));
    query.SetFiltered(false);

    // An edit or an insert in progress is a record the source does not hold yet.
    query.Edit();
    qty->SetAsInteger(100);
    EXPECT_EQ(Scanned(query, qty), QStringLiteral("refused"));
    query.Cancel();
    query.Append();
    EXPECT_EQ(Scanned(query, qty), QStringLiteral("refused"));
    query.Cancel();

    // A field of another dataset, and no field.
    TQuery other;
    other.SetDatabase(&database_);
    other.SQL()->SetText(QStringLiteral("SELECT qty FROM t"));
    other.Open();
    EXPECT_EQ(Scanned(query, Field(other, "qty")), QStringLiteral("refused"));
    EXPECT_EQ(Scanned(query, nullptr), QStringLiteral("refused"));

    // A closed dataset.
    query.Close();
    EXPECT_EQ(Scanned(query, nullptr), QStringLiteral("refused"));
}

TEST_F(DataSetScanTest, CalculatedAndLookupFieldsAreRefusedTheirDataFieldsScanned)
{
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT id, qty FROM t"));
    auto* id = new TLargeintField(&query);
    id->SetFieldName(QStringLiteral("id"));
    id->SetDataSet(&query);
    auto* qty = new TLargeintField(&query);
    qty->SetFieldName(QStringLiteral("qty"));
    qty->SetDataSet(&query);
    auto* twice = new TLargeintField(&query);
    twice->SetFieldName(QStringLiteral("twice"));
    twice->SetFieldKind(fkCalculated);
    twice->SetDataSet(&query);
    auto* label = new TStringField(&query);
    label->SetFieldName(QStringLiteral("label"));
    label->SetFieldKind(fkLookup);
    label->SetKeyFields(QStringLiteral("id"));
    label->SetLookupDataSet(&query);
    label->SetLookupKeyFields(QStringLiteral("id"));
    label->SetLookupResultField(QStringLiteral("qty"));
    label->SetDataSet(&query);
    query.OnCalcFields = [](TDataSet* dataSet) {
        dataSet->FieldByName(QStringLiteral("twice"))
            ->SetAsVariant(Variant(dataSet->FieldByName(QStringLiteral("qty"))->AsLargeInt() * 2));
    };
    query.Open();
    EXPECT_EQ(Scanned(query, twice), QStringLiteral("refused"));
    EXPECT_EQ(Scanned(query, label), QStringLiteral("refused"));
    EXPECT_EQ(Scanned(query, qty), Walked(query, QStringLiteral("qty")));
}

}  // namespace
}  // namespace tk::test
