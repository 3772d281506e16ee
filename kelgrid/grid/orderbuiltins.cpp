// The built-in change-order entries and the validators that read dataset
// properties by name.

#include "kelgrid/grid/orderbuiltins.h"

#include "toolkit/data/clientdataset.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/sqlitesourcesyntax.h"

namespace kelgrid {

namespace {

bool PropertyIs(tk::TDataSet* dataSet, const char* path, const char* value)
{
    const std::optional<QString> text = DataSetPropertyText(dataSet, QString::fromLatin1(path));
    return text && text->compare(QLatin1String(value), Qt::CaseInsensitive) == 0;
}

bool PropertyEmpty(tk::TDataSet* dataSet, const char* path)
{
    const std::optional<QString> text = DataSetPropertyText(dataSet, QString::fromLatin1(path));
    return text && text->isEmpty();
}

bool CommandTextSelects(tk::TDataSet* dataSet)
{
    const std::optional<QString> text = DataSetPropertyText(dataSet, QStringLiteral("CommandText"));
    if (!text)
        return false;
    for (const tk::TSqlToken& token : tk::TokenizeSql(*text))
        if (token.kind == tk::TSqlToken::Word &&
            token.text.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TChangeOrderItem Entry(const char* className, TChangeOrder changeOrder, bool ascendOnly,
                       TValidChangeOrder isValid = {}, const char* propName = "")
{
    TChangeOrderItem item;
    item.DSClassName = QString::fromLatin1(className);
    item.ChangeOrder = changeOrder;
    item.AscendOnly = ascendOnly;
    item.IsValid = std::move(isValid);
    item.PropName = QString::fromLatin1(propName);
    return item;
}

}  // namespace

std::optional<QString> DataSetPropertyText(tk::TDataSet* dataSet, const QString& path)
{
    if (!dataSet)
        return std::nullopt;
    try {
        const tk::TPropertyTarget target = tk::ResolvePropertyPath(dataSet, path);
        if (!target.object || !tk::FindPublishedProperty(target.object, target.property).isValid())
            return std::nullopt;
        return tk::GetPropText(target.object, target.property);
    } catch (const tk::EPropertyError&) {
        return std::nullopt;
    }
}

// A client dataset whose rows changed in memory: reordering by its command
// text reopens it and copies the rows again, which would throw the changes
// away, so it is sorted in memory (its index entry) instead.
static bool HoldsUnsavedRows(tk::TDataSet* dataSet)
{
    auto* client = qobject_cast<tk::TClientDataSet*>(dataSet);
    if (!client)
        return false;
    const tk::TDataSetState state = client->State();
    return client->ChangesPending() || state == tk::dsEdit || state == tk::dsInsert;
}

bool ValidCursorOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder)
{
    if (changeOrder == coChangeIndexFields)
        return PropertyIs(dataSet, "CursorLocation", "clUseClient");
    if (changeOrder == coChangeOrderFields)
        return PropertyIs(dataSet, "CursorLocation", "clUseServer") &&
               (PropertyIs(dataSet, "CommandType", "cmdText") ||
                (PropertyIs(dataSet, "CommandType", "cmdUnknown") && CommandTextSelects(dataSet)));
    return false;
}

bool ValidCommandOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder)
{
    if (changeOrder == coChangeIndexFields)
        return true;
    if (changeOrder == coChangeOrderFields)
        return CommandTextSelects(dataSet) && PropertyEmpty(dataSet, "FileName") &&
               !HoldsUnsavedRows(dataSet);
    return false;
}

bool ValidProviderOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder)
{
    if (changeOrder == coChangeIndexFields)
        return true;
    if (changeOrder == coChangeOrderFields)
        return PropertyIs(dataSet, "DataSet.CommandType", "ctQuery") && PropertyEmpty(dataSet, "FileName") &&
               PropertyEmpty(dataSet, "IndexFieldNames");
    return false;
}

bool ValidQueryTypeOrder(tk::TDataSet* dataSet, TChangeOrder changeOrder)
{
    if (changeOrder == coChangeIndexFields)
        return true;
    if (changeOrder == coChangeOrderFields)
        return PropertyIs(dataSet, "CommandType", "ctQuery") && PropertyEmpty(dataSet, "FileName");
    return false;
}

QList<TChangeOrderItem> BuiltInChangeOrders()
{
    return {
        Entry("TBDEClientDataSet", coChangeIndexFields, true),
        Entry("TBDEClientDataSet", coChangeOrderFields, false, ValidCommandOrder),
        Entry("TSQLClientDataSet", coChangeIndexFields, true),
        Entry("TSQLClientDataSet", coChangeOrderFields, false, ValidQueryTypeOrder),
        Entry("TSimpleDataSet", coChangeIndexFields, true),
        Entry("TSimpleDataSet", coChangeOrderFields, false, ValidProviderOrder, "DataSet.CommandText"),
        Entry("TClientDataSet", coChangeIndexFields, true),
        Entry("TClientDataSet", coChangeOrderFields, false, ValidCommandOrder),
        Entry("TIBClientDataSet", coChangeIndexFields, true),
        Entry("TIBClientDataSet", coChangeOrderFields, false, ValidCommandOrder),
        Entry("TIBDataSet", coChangeSQLOrderFields, false, {}, "SelectSQL"),
        Entry("TIBQuery", coChangeSQLOrderFields, false),
        Entry("TIBTable", coChangeIndexFields, true),
        Entry("TADODataSet", coChangeOrderFields, false, ValidCursorOrder),
        Entry("TADODataSet", coChangeIndexFields, false, ValidCursorOrder),
        Entry("TADOQuery", coChangeSQLOrderFields, false),
        Entry("TADOTable", coChangeIndexFields, false),
        Entry("TQuery", coChangeSQLOrderFields, false),
        Entry("TTable", coChangeIndexFields, true),
    };
}

}  // namespace kelgrid
