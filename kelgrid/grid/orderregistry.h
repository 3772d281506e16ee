#pragma once
// The change-order registry: per dataset class, how the grid reads and
// changes a dataset's sort order.
//
// Strategies: coChangeIndexFields sets an index-field-names property
// (default "IndexFieldNames"), coChangeOrderFields rewrites the ORDER BY
// of a command text property (default "CommandText"), coChangeSQLOrderFields
// rewrites the ORDER BY of an SQL string list (default "SQL"), and
// coCustomChangeOrder calls the entry's own callbacks.
//
// One process-wide list, made with the built-in entries on first use. An
// entry applies to a dataset whose class name is exactly its DSClassName
// (the class's name without its C++ namespace, or the qualified name; base
// classes do not count) and whose validator, when it has one, accepts the
// dataset for the entry's strategy. Find examines the entries from the last
// registered to the first, so later registrations win.
//
// Validators read the dataset's properties by name (dotted paths through
// object properties; enumerations by their key names). A property the
// dataset lacks makes the validator refuse it.

#include "kelgrid/kelgridexport.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace tk {
class TDataSet;
}

namespace kelgrid {

class TKelCustomDBGrid;

enum TChangeOrder { coChangeIndexFields, coChangeOrderFields, coChangeSQLOrderFields, coCustomChangeOrder };

// Whether an entry applies to this dataset instance.
using TValidChangeOrder = std::function<bool(tk::TDataSet*, TChangeOrder)>;
// Orders the grid's dataset by the order fields text.
using TCustomChangeOrder = std::function<void(TKelCustomDBGrid*, const QString&)>;
// The order fields text of the grid's dataset.
using TCustomCurrentOrder = std::function<QString(TKelCustomDBGrid*)>;

struct KELGRID_EXPORT TChangeOrderItem {
    QString DSClassName;
    TChangeOrder ChangeOrder = coChangeIndexFields;
    bool AscendOnly = false;
    TValidChangeOrder IsValid;
    // Property path; empty means the strategy's default.
    QString PropName;
    // The index marks template (orderfields.h).
    QString Suffix;
    TCustomChangeOrder CustomChangeOrder;
    TCustomCurrentOrder CustomCurrentOrder;

    // The entry names dataSet's class and its validator accepts it.
    bool Matches(tk::TDataSet* dataSet, bool forChange) const;
};

class KELGRID_EXPORT TChangeOrderList {
public:
    // The built-in entries, in registration order.
    TChangeOrderList();

    int Count() const { return int(items_.size()); }
    const TChangeOrderItem& Items(int index) const;
    void Add(const TChangeOrderItem& item);
    // Every entry with that class name (exact) and strategy.
    void Remove(const QString& className, TChangeOrder changeOrder);
    // The last registered entry that applies to dataSet and has the callback
    // needed (CustomChangeOrder when forChange, else CustomCurrentOrder) when
    // it is a custom one; a copy, so a callback may change the registry.
    // nullopt for nullptr or when none applies.
    std::optional<TChangeOrderItem> Find(tk::TDataSet* dataSet, bool forChange) const;

private:
    QList<TChangeOrderItem> items_;
};

// The process-wide list (made on first use).
KELGRID_EXPORT TChangeOrderList& ChangeOrderList();

// Appends an entry; coCustomChangeOrder is ignored (it needs callbacks).
KELGRID_EXPORT void RegisterChangeOrder(const QString& className, TChangeOrder changeOrder, bool ascendOnly,
                                        TValidChangeOrder isValid = {}, const QString& propName = QString(),
                                        const QString& suffix = QString());
// Appends a coCustomChangeOrder entry.
KELGRID_EXPORT void RegisterCustomChangeOrder(const QString& className, TCustomChangeOrder customChangeOrder,
                                              TCustomCurrentOrder customCurrentOrder, bool ascendOnly,
                                              TValidChangeOrder isValid = {});
// Removes every entry of that class and strategy; nothing when the list was
// never made.
KELGRID_EXPORT void UnRegisterChangeOrder(const QString& className, TChangeOrder changeOrder);

// The class name entries are matched against: the dataset's class name
// without its namespace ("TClientDataSet").
KELGRID_EXPORT QString DataSetClassName(const tk::TDataSet* dataSet);

}  // namespace kelgrid
