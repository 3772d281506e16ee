// TKelCustomDBGrid: the text hooks between stored values and the texts
// columns show and take.

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/format.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

namespace kelgrid {

QString AutoNumberStr(int number)
{
    if (number < 1)
        return {};
    return tk::Format(DefAutoNumberFormat, {tk::Variant(number)});
}

QString TKelCustomDBGrid::ColGetText(TKelColumn* column, const QString& text, TTextKind kind)
{
    QString result = text;
    if (OnColGetText)
        OnColGetText(this, column, result, kind);
    return result;
}

QString TKelCustomDBGrid::ColSetText(TKelColumn* column, const QString& text)
{
    QString result = text;
    if (OnColSetText)
        OnColSetText(this, column, result);
    return result;
}

int TKelCustomDBGrid::RecNumber() const
{
    tk::TDataSet* dataSet = DataSet();
    return LinkActiveNow() && dataSet ? dataSet->RecNo() : -1;
}

bool TKelCustomDBGrid::CanColumnModify(TKelColumn* column)
{
    if (!column || ReadOnly() || !LinkActiveNow() || d_->dataLink->ReadOnly())
        return false;
    tk::TField* field = column->Field();
    return field && field->CanModify();
}

}  // namespace kelgrid
