// TKelCustomDBGrid in a form stream: the columns only when they are the
// user's (default columns come from the dataset again), and the order
// fields text, which puts the sort order back in its sequence when the
// form is read (the titles' markers alone do not tell which column was the
// primary one under numbered markers).

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/core/streaming.h"

namespace kelgrid {

void TKelCustomDBGrid::DefineProperties(tk::TFiler& filer)
{
    tk::TCustomGrid::DefineProperties(filer);
    filer.DefineProperty(
        QStringLiteral("Columns"),
        [this](const tk::TStreamValue& value) { tk::CollectionFromValue(d_->columns, value); },
        [this] { return tk::CollectionToValue(d_->columns); }, d_->columns->State() == csCustomized);
    const QString orderFields = OrderFields();
    filer.DefineProperty(
        QStringLiteral("OrderFields"),
        [this](const tk::TStreamValue& value) { SetOrderFields(value.ToText()); },
        [orderFields] { return tk::TStreamValue::String(orderFields); }, !orderFields.isEmpty());
}

}  // namespace kelgrid
