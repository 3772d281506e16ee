// Check-box columns: the checked and unchecked texts, the state of the
// current value, its image index and the toggle. A check box without a
// field shows whether the current row is selected.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/imagelist.h"

namespace kelgrid {

namespace {

constexpr int kStatesPerKind = 3;

QString CheckedText(const QString& values)
{
    return values.section(QLatin1Char(';'), 0, 0);
}

// Without a ";" there is no unchecked text but the empty one.
QString UncheckedText(const QString& values)
{
    return values.contains(QLatin1Char(';')) ? values.section(QLatin1Char(';'), 1) : QString();
}

// The current row's selection in the grid's bookmark list; the list
// raises while the link is inactive, so callers check the link first.
bool CurrentRowSelected(const TKelCustomDBGrid* grid)
{
    return grid->SelectedRows()->CurrentRowSelected();
}

void SetCurrentRowSelected(TKelCustomDBGrid* grid, bool selected)
{
    grid->SelectedRows()->SetCurrentRowSelected(selected);
}

}  // namespace

bool TKelColumn::CheckBox() const
{
    return d_->checkBox;
}

void TKelColumn::SetCheckBox(bool on)
{
    if (on == d_->checkBox)
        return;
    d_->checkBox = on;
    if (on && d_->imageDraw > idCenter)
        d_->imageDraw = idCenter;
    ReportChange(true);
}

QString TKelColumn::DefaultCheckBoxValues() const
{
    return tk::LoadResString(&tk::STextTrue) + QLatin1Char(';') + tk::LoadResString(&tk::STextFalse);
}

QString TKelColumn::CheckBoxValues() const
{
    return d_->checkBoxValues.isEmpty() ? DefaultCheckBoxValues() : d_->checkBoxValues;
}

void TKelColumn::SetCheckBoxValues(const QString& values)
{
    const QString own = values == DefaultCheckBoxValues() ? QString() : values;
    if (own == d_->checkBoxValues)
        return;
    d_->checkBoxValues = own;
    ReportChange(false);
}

bool TKelColumn::IsCheckBoxValuesStored() const
{
    return !d_->checkBoxValues.isEmpty();
}

bool TKelColumn::IsCheckBoxValue(bool checked) const
{
    TKelCustomDBGrid* grid = Grid();
    tk::TField* field = Field();
    if (!field) {
        // The current row's selection; unselected without an active link.
        const bool selected = grid && grid->LinkActiveNow() && CurrentRowSelected(grid);
        return selected == checked;
    }
    QString value = field->AsString();
    if (grid)
        value = grid->ColGetText(const_cast<TKelColumn*>(this), value, tkEdit);
    const QString values = CheckBoxValues();
    const QString expected = checked ? CheckedText(values) : UncheckedText(values);
    return value.compare(expected, Qt::CaseInsensitive) == 0;
}

int TKelColumn::CheckBoxState() const
{
    if (IsCheckBoxValue(true))
        return 1;
    return IsCheckBoxValue(false) ? 0 : 2;
}

int TKelColumn::CheckBoxImageIndex() const
{
    const int state = CheckBoxState();
    const int index = state + kStatesPerKind * int(d_->checkBoxKind);
    // The glyphs of the other kinds are there only when the images hold
    // them; the grid's own set holds every kind.
    const tk::TImageList* images = d_->images;
    if (images && index >= images->Count())
        return state;
    return index;
}

void TKelColumn::ToggleCheckBoxValue()
{
    TKelCustomDBGrid* grid = Grid();
    if (!d_->checkBox || !grid)
        return;
    // A closed dataset has neither a current row nor a value to flip.
    tk::TDataSet* dataSet = grid->DataSet();
    if (!grid->LinkActiveNow() || !dataSet || dataSet->IsEmpty())
        return;
    tk::TField* field = Field();
    if (!field) {
        SetCurrentRowSelected(grid, !CurrentRowSelected(grid));
        return;
    }
    if (!grid->CanColumnModify(this))
        return;
    const QString values = CheckBoxValues();
    const bool checked = IsCheckBoxValue(true);
    QString text = checked ? UncheckedText(values) : CheckedText(values);
    text = grid->ColSetText(this, text);
    if (!grid->DataLink()->Editing())
        grid->DataLink()->Edit();
    field->SetAsString(text);
}

}  // namespace kelgrid
