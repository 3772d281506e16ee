#include "toolkit/core/exceptions.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/clientdatasetfile.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/fields.h"

#include "tests/support/field_def.h"
#include "tests/support/temp_folder.h"

#include <QPointer>
#include <QStringList>
#include <gtest/gtest.h>

namespace tk {
namespace {

using test::Def;

// Customers, each with its own orders.
std::vector<TFieldDef> CustomerDefs()
{
    TFieldDef orders = Def(QStringLiteral("Orders"), ftDataSet);
    orders.ChildDefs = {Def(QStringLiteral("Item"), ftString, 20), Def(QStringLiteral("Qty"), ftInteger)};
    return {Def(QStringLiteral("Name"), ftString, 20), orders};
}

TDataSetField* OrdersOf(TClientDataSet& customers)
{
    auto* field = qobject_cast<TDataSetField*>(customers.FieldByName(QStringLiteral("Orders")));
    EXPECT_NE(field, nullptr);
    return field;
}

// "Item:Qty" of every nested row, in order.
QStringList Rows(TDataSet* orders)
{
    QStringList rows;
    orders->First();
    while (!orders->Eof()) {
        rows << orders->FieldByName(QStringLiteral("Item"))->AsString() + QLatin1Char(':') +
                    orders->FieldByName(QStringLiteral("Qty"))->AsString();
        orders->Next();
    }
    return rows;
}

void AddOrder(TDataSet* orders, const QString& item, int qty)
{
    orders->Append();
    orders->FieldByName(QStringLiteral("Item"))->SetAsString(item);
    orders->FieldByName(QStringLiteral("Qty"))->SetAsInteger(qty);
    orders->Post();
}

void AddCustomer(TClientDataSet& customers, const QString& name, const QList<QPair<QString, int>>& orders)
{
    customers.Append();
    customers.FieldByName(QStringLiteral("Name"))->SetAsString(name);
    for (const auto& [item, qty] : orders)
        AddOrder(OrdersOf(customers)->NestedDataSet(), item, qty);
    customers.Post();
}

// Ana with two orders, Ben with none, Cy with one.
class NestedDataSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        customers.FieldDefs() = CustomerDefs();
        customers.CreateDataSet();
        AddCustomer(customers, QStringLiteral("Ana"), {{QStringLiteral("pen"), 2}, {QStringLiteral("ink"), 1}});
        AddCustomer(customers, QStringLiteral("Ben"), {});
        AddCustomer(customers, QStringLiteral("Cy"), {{QStringLiteral("pad"), 5}});
        customers.First();
        orders = OrdersOf(customers)->NestedDataSet();
        ASSERT_NE(orders, nullptr);
    }

    bool Locate(const QString& name)
    {
        return customers.Locate(QStringLiteral("Name"), Variant(name), {});
    }

    TClientDataSet customers;
    TClientDataSet* orders = nullptr;
};

TEST_F(NestedDataSetTest, EachParentRecordShowsItsOwnRows)
{
    EXPECT_EQ(OrdersOf(customers)->DisplayText(), QStringLiteral("(DataSet)"));
    EXPECT_TRUE(orders->Active());
    EXPECT_EQ(orders->FieldCount(), 2);
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));
    customers.Next();
    EXPECT_EQ(Rows(orders), QStringList());
    EXPECT_TRUE(OrdersOf(customers)->IsNull());
    customers.Next();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pad:5")}));
    customers.First();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));
    // The nested dataset is the field's, the same one for every record.
    EXPECT_EQ(orders->Owner(), OrdersOf(customers));
}

TEST_F(NestedDataSetTest, NestedChangesPutTheParentIntoEditAndPostingKeepsThem)
{
    ASSERT_TRUE(Locate(QStringLiteral("Cy")));
    orders->Edit();
    EXPECT_EQ(customers.State(), dsEdit);
    orders->FieldByName(QStringLiteral("Qty"))->SetAsInteger(7);
    AddOrder(orders, QStringLiteral("cap"), 1);
    customers.Post();
    EXPECT_EQ(orders->State(), dsBrowse);

    customers.First();
    ASSERT_TRUE(Locate(QStringLiteral("Cy")));
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pad:7"), QStringLiteral("cap:1")}));

    // A delete also belongs to the record.
    orders->First();
    orders->Delete();
    EXPECT_EQ(customers.State(), dsEdit);
    customers.Post();
    customers.First();
    ASSERT_TRUE(Locate(QStringLiteral("Cy")));
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("cap:1")}));
}

// Posting the parent posts a nested edit still pending.
TEST_F(NestedDataSetTest, PostingTheParentPostsAPendingNestedEdit)
{
    orders->Edit();
    orders->FieldByName(QStringLiteral("Item"))->SetAsString(QStringLiteral("quill"));
    customers.Post();
    EXPECT_EQ(orders->State(), dsBrowse);
    customers.Next();
    customers.First();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("quill:2"), QStringLiteral("ink:1")}));
}

// The links hear nothing while the controls are disabled; posting and
// cancelling still take the pending nested edit along.
TEST_F(NestedDataSetTest, PendingNestedEditsFollowThePostOrCancelWhileControlsAreDisabled)
{
    customers.DisableControls();
    orders->Edit();
    orders->FieldByName(QStringLiteral("Qty"))->SetAsInteger(8);
    customers.Post();
    EXPECT_EQ(orders->State(), dsBrowse);
    orders->Edit();
    orders->FieldByName(QStringLiteral("Qty"))->SetAsInteger(9);
    customers.Cancel();
    EXPECT_EQ(orders->State(), dsBrowse);
    customers.EnableControls();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:8"), QStringLiteral("ink:1")}));
}

TEST_F(NestedDataSetTest, CancellingTheParentDropsTheNestedChanges)
{
    AddOrder(orders, QStringLiteral("nib"), 3);
    orders->First();
    orders->Delete();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("ink:1"), QStringLiteral("nib:3")}));
    customers.Cancel();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));

    // A nested edit pending when the parent cancels goes too.
    orders->Edit();
    orders->FieldByName(QStringLiteral("Qty"))->SetAsInteger(99);
    customers.Cancel();
    EXPECT_EQ(orders->State(), dsBrowse);
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));

    // Cancelling an insert drops the new record's rows with it.
    customers.Append();
    EXPECT_EQ(Rows(orders), QStringList());
    AddOrder(orders, QStringLiteral("new"), 1);
    EXPECT_EQ(customers.State(), dsInsert);
    customers.Cancel();
    EXPECT_EQ(customers.RecordCount(), 3);
    EXPECT_EQ(customers.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Cy"));
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pad:5")}));
}

TEST_F(NestedDataSetTest, TheFieldIsSetOnlyThroughTheNestedDataSet)
{
    customers.Edit();
    EXPECT_THROW(OrdersOf(customers)->SetAsVariant(Variant(QByteArray("junk"))), EDatabaseError);
    customers.Cancel();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));
}

// A handler that refuses the new value leaves the nested rows as the record
// holds them.
TEST_F(NestedDataSetTest, ARefusedValueShowsTheRecordsRowsAgain)
{
    OrdersOf(customers)->OnValidate = [](TField*) { throw EDatabaseError(QStringLiteral("no more orders")); };
    EXPECT_THROW(AddOrder(orders, QStringLiteral("nib"), 3), EDatabaseError);
    EXPECT_EQ(orders->State(), dsBrowse);
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));
}

// Closing the parent frees its default fields and, with them, the nested
// dataset; whatever shows it sees it close first and is left pointing at nothing.
TEST_F(NestedDataSetTest, ClosingTheParentClosesTheNestedDataSet)
{
    TDataSource source;
    source.SetDataSet(orders);
    QList<TDataSetState> states;
    source.OnStateChange = [&](TDataSource* s) { states << (s->DataSet() ? s->DataSet()->State() : dsInactive); };
    const QPointer<TClientDataSet> watched(orders);
    customers.Close();
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(source.DataSet(), nullptr);
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(states.first(), dsInactive);
}

TEST_F(NestedDataSetTest, SavedAndLoadedRowsStayWithTheirRecords)
{
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("customers.cds"));
    customers.SaveToFile(path);
    EXPECT_TRUE(folder.Read(QStringLiteral("customers.cds")).startsWith("#toolkit-clientdata 2\n"));

    TClientDataSet again;
    again.LoadFromFile(path);
    TDataSet* nested = OrdersOf(again)->NestedDataSet();
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(OrdersOf(again)->NestedFieldDefs(), CustomerDefs()[1].ChildDefs);
    EXPECT_EQ(Rows(nested), QStringList({QStringLiteral("pen:2"), QStringLiteral("ink:1")}));
    again.Last();
    EXPECT_EQ(Rows(nested), QStringList({QStringLiteral("pad:5")}));
}

// Tables nested in nested tables follow their own parent the same way.
TEST(NestedDataSet, NestsInsideNestedTables)
{
    TFieldDef lines = Def(QStringLiteral("Lines"), ftDataSet);
    lines.ChildDefs = {Def(QStringLiteral("Text"), ftString, 10)};
    TFieldDef orders = Def(QStringLiteral("Orders"), ftDataSet);
    orders.ChildDefs = {Def(QStringLiteral("Item"), ftString, 20), lines};
    TClientDataSet customers;
    customers.FieldDefs() = {Def(QStringLiteral("Name"), ftString, 20), orders};
    customers.CreateDataSet();
    customers.Append();
    TDataSet* nested = OrdersOf(customers)->NestedDataSet();
    nested->Append();
    nested->FieldByName(QStringLiteral("Item"))->SetAsString(QStringLiteral("pen"));
    TDataSet* deepest = qobject_cast<TDataSetField*>(nested->FieldByName(QStringLiteral("Lines")))->NestedDataSet();
    deepest->Append();
    deepest->FieldByName(QStringLiteral("Text"))->SetAsString(QStringLiteral("blue"));
    customers.Post();  // posts the pending edits inside out
    EXPECT_EQ(deepest->State(), dsBrowse);

    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("c.cds"));
    customers.SaveToFile(path);
    TClientDataSet again;
    again.LoadFromFile(path);
    TDataSet* againOrders = OrdersOf(again)->NestedDataSet();
    TDataSet* againLines =
        qobject_cast<TDataSetField*>(againOrders->FieldByName(QStringLiteral("Lines")))->NestedDataSet();
    EXPECT_EQ(againLines->FieldByName(QStringLiteral("Text"))->AsString(), QStringLiteral("blue"));
}

QByteArray CustomersFile()
{
    return "#toolkit-clientdata 2\n"
           "FIELDS\t4\n"
           "FIELD\t0\tName\tftString\t20\t-\n"
           "FIELD\t0\tOrders\tftDataSet\t0\t-\n"
           "FIELD\t1\tItem\tftString\t20\t-\n"
           "FIELD\t1\tQty\tftInteger\t0\t-\n"
           "ROWS\t1\n"
           "R\tAna\t#toolkit-clientdata 1\\nFIELDS\\t2\\nFIELD\\t0\\tItem\\tftString\\t20\\t-\\n"
           "FIELD\\t0\\tQty\\tftInteger\\t0\\t-\\nROWS\\t1\\nR\\tpen\\t2\\nEND\\n\n"
           "END\n";
}

TEST(NestedDataSetFile, ReadsTheNestedRowsItWrites)
{
    TClientDataSet customers;
    test::TempFolder folder;
    customers.LoadFromFile(folder.Write(QStringLiteral("c.cds"), CustomersFile()));
    EXPECT_EQ(Rows(OrdersOf(customers)->NestedDataSet()), QStringList({QStringLiteral("pen:2")}));
    // Written back byte for byte.
    customers.SaveToFile(folder.File(QStringLiteral("out.cds")));
    EXPECT_EQ(folder.Read(QStringLiteral("out.cds")), CustomersFile());
}

// Damage inside a nested table names the file, the row's line and the
// nested line, and leaves the dataset as it was.
TEST(NestedDataSetFile, DamagedNestedRowsRaiseAndChangeNothing)
{
    const std::vector<std::pair<const char*, QByteArray>> damages = {
        {"bad nested integer", QByteArray(CustomersFile()).replace("pen\\t2", "pen\\tx")},
        {"truncated nested table", QByteArray(CustomersFile()).replace("\\nEND\\n\n", "\\n\n")},
        {"nested columns differ", QByteArray(CustomersFile()).replace("\\tQty\\tftInteger", "\\tQty\\tftFloat")},
        {"bad escape", QByteArray(CustomersFile()).replace("pen\\t2", "pen\\q2")}};
    test::TempFolder folder;
    TClientDataSet customers;
    customers.LoadFromFile(folder.Write(QStringLiteral("good.cds"), CustomersFile()));
    for (const auto& [label, bytes] : damages) {
        ASSERT_NE(bytes, CustomersFile()) << label;
        const QString path = folder.Write(QStringLiteral("bad.cds"), bytes);
        try {
            customers.LoadFromFile(path);
            ADD_FAILURE() << "loaded " << label;
        } catch (const EDatabaseError& error) {
            EXPECT_TRUE(error.Message().startsWith(path + QStringLiteral(": line 8: "))) << error.Message().toStdString();
        }
        ASSERT_TRUE(customers.Active()) << label;
        EXPECT_EQ(Rows(OrdersOf(customers)->NestedDataSet()), QStringList({QStringLiteral("pen:2")})) << label;
    }
}

// A version 1 file spread a nested table's columns over the row; it reads
// as one nested row per record (none when they were all Null).
TEST(NestedDataSetFile, ReadsTheFlatLayoutOfVersionOne)
{
    const QByteArray old = "#toolkit-clientdata 1\n"
                           "FIELDS\t4\n"
                           "FIELD\t0\tName\tftString\t20\t-\n"
                           "FIELD\t0\tOrders\tftDataSet\t0\t-\n"
                           "FIELD\t1\tItem\tftString\t20\t-\n"
                           "FIELD\t1\tQty\tftInteger\t0\t-\n"
                           "ROWS\t2\n"
                           "R\tAna\tpen\t2\n"
                           "R\tBen\t\\N\t\\N\n"
                           "END\n";
    test::TempFolder folder;
    TClientDataSet customers;
    customers.LoadFromFile(folder.Write(QStringLiteral("old.cds"), old));
    TDataSet* orders = OrdersOf(customers)->NestedDataSet();
    EXPECT_EQ(Rows(orders), QStringList({QStringLiteral("pen:2")}));
    customers.Next();
    EXPECT_EQ(Rows(orders), QStringList());
}

// Files without nested tables keep the version older readers know.
TEST(NestedDataSetFile, FlatFilesStayVersionOne)
{
    TMemoryRecordSource flat({Def(QStringLiteral("Name"), ftString, 20)});
    EXPECT_TRUE(EncodeClientData(flat).startsWith("#toolkit-clientdata 1\n"));
}

}  // namespace
}  // namespace tk
