// The change-order registry: the built-in entries in order, the validators
// reading dataset properties by name, later entries winning, custom entries
// and unregistering.

#include "kelgrid/grid/orderbuiltins.h"
#include "kelgrid/grid/orderregistry.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/query.h"
#include "toolkit/data/table.h"

#include <QScopeGuard>
#include <functional>
#include <gtest/gtest.h>

namespace kelgrid::ordertest {

// Client datasets standing in for the peer classes the registry names: the
// same class names and the properties the validators read.
class TSqlCommand : public QObject {
    Q_OBJECT
    Q_PROPERTY(kelgrid::ordertest::TSqlCommand::TSQLCommandType CommandType MEMBER commandType)
    Q_PROPERTY(QString CommandText MEMBER commandText)
public:
    enum TSQLCommandType { ctQuery, ctTable, ctStoredProc };
    Q_ENUM(TSQLCommandType)
    TSQLCommandType commandType = ctTable;
    QString commandText;
};

class TSQLClientDataSet : public tk::TClientDataSet {
    Q_OBJECT
    Q_PROPERTY(kelgrid::ordertest::TSqlCommand::TSQLCommandType CommandType MEMBER commandType)
public:
    TSqlCommand::TSQLCommandType commandType = TSqlCommand::ctQuery;
};

class TSimpleDataSet : public tk::TClientDataSet {
    Q_OBJECT
    Q_PROPERTY(kelgrid::ordertest::TSqlCommand* DataSet READ DataSet)
public:
    TSqlCommand* DataSet() { return &command; }
    TSqlCommand command;
};

class TADODataSet : public tk::TClientDataSet {
    Q_OBJECT
    Q_PROPERTY(tk::TDataEnums::TCursorLocation CursorLocation MEMBER cursorLocation)
public:
    tk::TCursorLocation cursorLocation = tk::clUseClient;
};

namespace {

QString StrategyName(TChangeOrder changeOrder)
{
    switch (changeOrder) {
    case coChangeIndexFields:
        return QStringLiteral("index");
    case coChangeOrderFields:
        return QStringLiteral("command");
    case coChangeSQLOrderFields:
        return QStringLiteral("sql");
    case coCustomChangeOrder:
        return QStringLiteral("custom");
    }
    return QString();
}

// "command" or "index ascending" for the entry Find chooses; "none".
QString Chosen(tk::TDataSet* dataSet, bool forChange = true)
{
    const std::optional<TChangeOrderItem> item = ChangeOrderList().Find(dataSet, forChange);
    if (!item)
        return QStringLiteral("none");
    QString text = StrategyName(item->ChangeOrder);
    if (item->AscendOnly)
        text += QStringLiteral(" ascending");
    if (!item->PropName.isEmpty())
        text += QLatin1Char(' ') + item->PropName;
    return text;
}

TEST(ChangeOrderRegistryTest, BuiltInEntriesInRegistrationOrder)
{
    QStringList entries;
    for (const TChangeOrderItem& item : BuiltInChangeOrders())
        entries.append(item.DSClassName + QLatin1Char(':') + StrategyName(item.ChangeOrder) +
                       (item.IsValid ? QStringLiteral("?") : QString()));
    EXPECT_EQ(
        entries.join(QLatin1Char(' ')),
        QStringLiteral("TBDEClientDataSet:index TBDEClientDataSet:command? TSQLClientDataSet:index "
                       "TSQLClientDataSet:command? TSimpleDataSet:index TSimpleDataSet:command? "
                       "TClientDataSet:index TClientDataSet:command? TIBClientDataSet:index "
                       "TIBClientDataSet:command? TIBDataSet:sql TIBQuery:sql TIBTable:index "
                       "TADODataSet:command? TADODataSet:index? TADOQuery:sql TADOTable:index TQuery:sql "
                       "TTable:index"));
}

struct FindCase {
    const char* name;
    std::function<tk::TDataSet*(std::vector<std::unique_ptr<tk::TDataSet>>&)> make;
    const char* chosen;
};

template <typename T> T* Make(std::vector<std::unique_ptr<tk::TDataSet>>& keep)
{
    keep.push_back(std::make_unique<T>());
    return static_cast<T*>(keep.back().get());
}

class ChangeOrderFindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(ChangeOrderFindTest, ChoosesTheLastEntryWhoseValidatorAccepts)
{
    std::vector<std::unique_ptr<tk::TDataSet>> keep;
    tk::TDataSet* dataSet = GetParam().make(keep);
    EXPECT_EQ(Chosen(dataSet), QString::fromUtf8(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(
    ChangeOrderRegistryTest, ChangeOrderFindTest,
    ::testing::Values(
        FindCase{"ClientDataSetFromAFile",
                 [](auto& keep) {
                     auto* ds = Make<tk::TClientDataSet>(keep);
                     ds->SetCommandText(QStringLiteral("SELECT * FROM t"));
                     ds->SetFileName(QStringLiteral("rows.cds"));
                     return ds;
                 },
                 "index ascending"},
        FindCase{"ClientDataSetOfASelect",
                 [](auto& keep) {
                     auto* ds = Make<tk::TClientDataSet>(keep);
                     ds->SetCommandText(QStringLiteral("select\n*\nfrom t"));
                     return ds;
                 },
                 "command"},
        FindCase{"ClientDataSetWithSelectOnlyInAComment",
                 [](auto& keep) {
                     auto* ds = Make<tk::TClientDataSet>(keep);
                     ds->SetCommandText(QStringLiteral("t -- SELECT "));
                     return ds;
                 },
                 "index ascending"},
        FindCase{"Query", [](auto& keep) { return Make<tk::TQuery>(keep); }, "sql"},
        FindCase{"Table", [](auto& keep) { return Make<tk::TTable>(keep); }, "index ascending"},
        FindCase{"QueryTypeWithoutFile", [](auto& keep) { return Make<TSQLClientDataSet>(keep); }, "command"},
        FindCase{"QueryTypeOfATable",
                 [](auto& keep) {
                     auto* ds = Make<TSQLClientDataSet>(keep);
                     ds->commandType = TSqlCommand::ctTable;
                     return ds;
                 },
                 "index ascending"},
        FindCase{"ProviderOfAQuery",
                 [](auto& keep) {
                     auto* ds = Make<TSimpleDataSet>(keep);
                     ds->command.commandType = TSqlCommand::ctQuery;
                     return ds;
                 },
                 "command DataSet.CommandText"},
        FindCase{"ProviderOfAQueryWithIndex",
                 [](auto& keep) {
                     auto* ds = Make<TSimpleDataSet>(keep);
                     ds->command.commandType = TSqlCommand::ctQuery;
                     ds->SetIndexFieldNames(QStringLiteral("name"));
                     return ds;
                 },
                 "index ascending"},
        FindCase{"ServerCursorOnText",
                 [](auto& keep) {
                     auto* ds = Make<TADODataSet>(keep);
                     ds->cursorLocation = tk::clUseServer;
                     return ds;
                 },
                 "command"},
        FindCase{"ServerCursorOnUnknownWithSelect",
                 [](auto& keep) {
                     auto* ds = Make<TADODataSet>(keep);
                     ds->cursorLocation = tk::clUseServer;
                     ds->SetCommandType(tk::cmdUnknown);
                     ds->SetCommandText(QStringLiteral("SELECT id FROM t"));
                     return ds;
                 },
                 "command"},
        FindCase{"ServerCursorOnATable",
                 [](auto& keep) {
                     auto* ds = Make<TADODataSet>(keep);
                     ds->cursorLocation = tk::clUseServer;
                     ds->SetCommandType(tk::cmdTable);
                     return ds;
                 },
                 "none"},
        FindCase{"ClientCursor", [](auto& keep) { return Make<TADODataSet>(keep); }, "index"},
        FindCase{"NoDataSet", [](auto&) { return static_cast<tk::TDataSet*>(nullptr); }, "none"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChangeOrderRegistryTest, ValidatorsRefuseDatasetsWithoutTheirProperties)
{
    tk::TQuery query;  // no CommandText, FileName, CursorLocation
    EXPECT_FALSE(ValidCommandOrder(&query, coChangeOrderFields));
    EXPECT_FALSE(ValidCursorOrder(&query, coChangeIndexFields));
    EXPECT_FALSE(ValidProviderOrder(&query, coChangeOrderFields));
    EXPECT_TRUE(ValidProviderOrder(&query, coChangeIndexFields));
    EXPECT_FALSE(ValidQueryTypeOrder(&query, coChangeSQLOrderFields));
    EXPECT_FALSE(DataSetPropertyText(&query, QStringLiteral("Nope.CommandText")).has_value());
}

TEST(ChangeOrderRegistryTest, ALaterEntryWinsWhileItsValidatorAccepts)
{
    const int before = ChangeOrderList().Count();
    auto cleanup =
        qScopeGuard([] { UnRegisterChangeOrder(QStringLiteral("TTable"), coChangeSQLOrderFields); });
    RegisterChangeOrder(
        QStringLiteral("TTable"), coChangeSQLOrderFields, false,
        [](tk::TDataSet* dataSet, TChangeOrder) {
            return DataSetPropertyText(dataSet, QStringLiteral("TableName")) == QStringLiteral("people");
        },
        QStringLiteral("Lines"), QStringLiteral("+;-;"));
    EXPECT_EQ(ChangeOrderList().Count(), before + 1);

    tk::TTable table;
    EXPECT_EQ(Chosen(&table), QStringLiteral("index ascending"));
    table.SetTableName(QStringLiteral("people"));
    EXPECT_EQ(Chosen(&table), QStringLiteral("sql Lines"));
    EXPECT_EQ(ChangeOrderList().Find(&table, true)->Suffix, QStringLiteral("+;-;"));

    UnRegisterChangeOrder(QStringLiteral("TTable"), coChangeSQLOrderFields);
    EXPECT_EQ(ChangeOrderList().Count(), before);
    EXPECT_EQ(Chosen(&table), QStringLiteral("index ascending"));
    // Unregistering matches the class name exactly.
    UnRegisterChangeOrder(QStringLiteral("ttable"), coChangeIndexFields);
    EXPECT_EQ(ChangeOrderList().Count(), before);
}

TEST(ChangeOrderRegistryTest, CustomEntriesNeedTheCallbackOfTheirUse)
{
    const int before = ChangeOrderList().Count();
    auto cleanup = qScopeGuard([] { UnRegisterChangeOrder(QStringLiteral("TQuery"), coCustomChangeOrder); });
    // A custom strategy through the plain registration is ignored.
    RegisterChangeOrder(QStringLiteral("TQuery"), coCustomChangeOrder, true);
    EXPECT_EQ(ChangeOrderList().Count(), before);

    RegisterCustomChangeOrder(
        QStringLiteral("TQuery"), [](TKelCustomDBGrid*, const QString&) {}, {}, true);
    tk::TQuery query;
    EXPECT_EQ(Chosen(&query, true), QStringLiteral("custom ascending"));
    EXPECT_EQ(Chosen(&query, false), QStringLiteral("sql"));

    RegisterCustomChangeOrder(
        QStringLiteral("TQuery"), {}, [](TKelCustomDBGrid*) { return QStringLiteral("id"); }, false);
    EXPECT_EQ(Chosen(&query, true), QStringLiteral("custom ascending"));
    EXPECT_EQ(Chosen(&query, false), QStringLiteral("custom"));
    EXPECT_EQ(ChangeOrderList().Find(&query, false)->CustomCurrentOrder(nullptr), QStringLiteral("id"));

    UnRegisterChangeOrder(QStringLiteral("TQuery"), coCustomChangeOrder);
    EXPECT_EQ(ChangeOrderList().Count(), before);
    EXPECT_EQ(Chosen(&query, true), QStringLiteral("sql"));
}

}  // namespace
}  // namespace kelgrid::ordertest

#include "orderregistry_test.moc"
