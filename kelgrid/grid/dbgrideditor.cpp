// TKelCustomDBGrid: the grid's side of its in-place editor. Which button and
// popup a column's editor gets, when the editor may show and change the
// cell, the text going between the editor and the field, the editor's
// button, drop-down menus and where they open, and the hooks around the
// editor's popup lists.
//
// The editor's text travels as the grid base hands it over: GetEditText
// loads it for the current cell, SetEditText keeps each change (editText),
// and UpdateData, which the data link runs before the record is posted or
// left, writes it into the field through the column.

#include "kelgrid/editors/dbgridinplaceedit.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/fieldkinds.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/popupmenu.h"

namespace kelgrid {

namespace {

bool IsDateType(tk::TFieldType type)
{
    return type == tk::ftDate || type == tk::ftDateTime || type == tk::ftTimeStamp;
}

// The read-only value a column holds of its own (not its field's).
bool ColumnReadOnlySet(const TKelColumn* column)
{
    return column->AssignedValues().testFlag(cvReadOnly) && column->ReadOnly();
}

}  // namespace

// --- Editor style ----------------------------------------------------------------------

TKelEditStyle TKelCustomDBGrid::GetEditStyle(TKelColumn* column, TKelDataEditor& dataEditor)
{
    dataEditor = dePickList;
    if (!column)
        return esSimple;
    switch (column->ButtonStyle()) {
    case cbsEllipsis:
        return esEllipsis;
    case cbsNone:
        return esSimple;
    case cbsDropDown:
    case cbsDropDownMenu:
        return esDropDown;
    case cbsCalendar:
        dataEditor = deCalendar;
        return esPickList;
    case cbsCalculator:
        dataEditor = deCalculator;
        return esPickList;
    case cbsAuto:
        break;
    }
    tk::TField* field = column->Field();
    if (!field)
        return esSimple;
    const bool lookupColumn = column->LookupDataSet() && !column->LookupKeyField().isEmpty();
    if (field->Lookup() || lookupColumn) {
        dataEditor = d_->optionsExt.testFlag(dgGridStyleLists) ? deGridList : deDataList;
        // The value a lookup writes goes into its key field.
        bool keyModifiable = field->CanModify();
        if (field->Lookup()) {
            keyModifiable = false;
            if (tk::TDataSet* dataSet = field->DataSet())
                if (tk::TField* key = dataSet->FindField(field->KeyFields()))
                    keyModifiable = key->CanModify();
        }
        const bool linkWritable = LinkActiveNow() && !d_->dataLink->ReadOnly();
        if (!keyModifiable || ColumnReadOnlySet(column) || field->ReadOnly() || !linkWritable)
            return esSimple;
        return esPickList;
    }
    if ((column->PickTextActive() || column->PickListActive()) && !column->ReadOnly())
        return esPickList;
    if (IsDateType(field->DataType()) && !column->ReadOnly()) {
        dataEditor = deCalendar;
        return esPickList;
    }
    if (field->DataType() == tk::ftReference || field->DataType() == tk::ftDataSet)
        return esEllipsis;
    return esSimple;
}

// --- Permissions ---------------------------------------------------------------------------

tk::TInplaceEdit* TKelCustomDBGrid::CreateEditor()
{
    return new TKelDBGridInplaceEdit(this);
}

bool TKelCustomDBGrid::CanEditShow()
{
    if (LayoutLock() > 0 || !tk::TCustomGrid::CanEditShow())
        return false;
    TKelColumn* column = SelectedColumn();
    return column && column->CanEditShow();
}

bool TKelCustomDBGrid::CanEditModify()
{
    TKelColumn* column = SelectedColumn();
    if (!column || ReadOnly() || !LinkActiveNow() || d_->dataLink->ReadOnly() || column->ReadOnly())
        return false;
    tk::TField* field = column->Field();
    if (!field || !field->CanModify())
        return false;
    const bool textForm = !IsLargeOrObjectType(field->DataType()) || static_cast<bool>(field->OnSetText) ||
                          (IsMemoType(field->DataType()) && column->EditMemo());
    if (!textForm)
        return false;
    d_->dataLink->Edit();
    if (!d_->dataLink->Editing())
        return false;
    d_->dataLink->Modified();
    return true;
}

bool TKelCustomDBGrid::CanColumnModify(TKelColumn* column)
{
    // Unlike CanEditModify this marks no editor change: the caller (a check
    // box toggle) writes the field itself, and a marked change would write
    // the editor's last text over it when the record is posted.
    if (!column || ReadOnly() || !LinkActiveNow() || d_->dataLink->ReadOnly() || column->ReadOnly())
        return false;
    tk::TField* field = column->Field();
    if (!field || !field->CanModify())
        return false;
    if (IsLargeOrObjectType(field->DataType()) && !field->OnSetText)
        return false;
    d_->dataLink->Edit();
    return d_->dataLink->Editing();
}

bool TKelCustomDBGrid::CanEditAcceptKey(QChar key)
{
    tk::TField* field = SelectedField();
    return LinkActiveNow() && field && field->IsValidChar(key);
}

// --- Text ----------------------------------------------------------------------------------

QString TKelCustomDBGrid::GetEditText(int col, int)
{
    TKelColumn* column = ColumnOfRaw(col);
    d_->editTextColumn = column;
    d_->editText = column && LinkActiveNow() ? column->EditText() : QString();
    return d_->editText;
}

void TKelCustomDBGrid::SetEditText(int col, int, const QString& value)
{
    if (ColumnOfRaw(col) == d_->editTextColumn)
        d_->editText = value;
}

QString TKelCustomDBGrid::EditText() const
{
    return d_->editText;
}

void TKelCustomDBGrid::UpdateData()
{
    TKelColumn* column = SelectedColumn();
    if (column && column == d_->editTextColumn)
        column->SetEditText(d_->editText);
}

int TKelCustomDBGrid::GetEditLimit()
{
    TKelColumn* column = SelectedColumn();
    tk::TField* field = column ? column->Field() : nullptr;
    if (!field || column->PickTextActive())
        return 0;
    const tk::TFieldType type = field->DataType();
    return type == tk::ftString || type == tk::ftWideString || type == tk::ftFixedChar ||
                   type == tk::ftFixedWideChar
               ? field->Size()
               : 0;
}

QString TKelCustomDBGrid::GetEditMask(int col, int)
{
    TKelColumn* column = ColumnOfRaw(col);
    tk::TField* field = column ? column->Field() : nullptr;
    if (!field || column->PickTextActive())
        return {};
    return field->EditMask();
}

// --- Button, menus and popup lists ---------------------------------------------------------

void TKelCustomDBGrid::EditButtonClick()
{
    if (OnEditButtonClick)
        OnEditButtonClick(this);
    else
        ShowPopupEditor(SelectedColumn());
}

bool TKelCustomDBGrid::DropDownMenu(TKelColumn* column, bool title, tk::TPopupMenu* menu)
{
    if (!menu) {
        if (title)
            menu = column ? column->Title()->DropDownMenu() : FillerPopupMenu();
        else
            menu = column ? column->DropDownMenu() : IndicatorPopupMenu();
    }
    if (!menu)
        return false;
    CancelMouseModes();
    const bool editorShown = title && EditorMode();
    if (editorShown)
        HideEditor();
    menu->SetPopupComponent(this);
    const QPoint at = DropDownPoint(column, title);
    const bool shown = menu->Popup(at.x(), at.y());
    if (editorShown && d_->options.testFlag(dgAlwaysShowEditor))
        ShowEditor();
    return shown;
}

QPoint TKelCustomDBGrid::DropDownPoint(TKelColumn* column, bool title) const
{
    const bool rightToLeft = UseRightToLeftAlignment();
    const int row = d_->titleOffset + (LinkActiveNow() ? d_->dataLink->ActiveRecord() : 0);
    QPoint point;
    bool flatCell = true;  // titles and fixed columns drawn by a theme keep their edge
    if (column) {
        const QRect rect = title ? CalcTitleRect(column, column->Depth())
                                 : CellRect(DataToRawColumn(column->Index()), row);
        point = QPoint(rightToLeft ? rect.right() + 1 : rect.left(), rect.bottom() + 1 + RowLineWidth());
        if ((title || column->Index() < FixedCols()) && IsGridThemed() && FixedTheme() != ftDefault)
            flatCell = false;
    } else {
        const int x = rightToLeft ? viewport()->width() : 0;
        point = QPoint(x, title ? TitleHeight() : CellRect(0, row).bottom() + 1 + RowLineWidth());
        if (IsGridThemed() && FixedTheme() != ftDefault)
            flatCell = false;
    }
    if (flatCell)
        point += QPoint(ColLineWidth(), -RowLineWidth());
    return viewport()->mapToGlobal(point);
}

void TKelCustomDBGrid::ListDropDown(QWidget* list)
{
    if (OnListDropDown)
        OnListDropDown(this, SelectedColumn(), list);
}

void TKelCustomDBGrid::ListCloseUp(QWidget* list, tk::Variant& value, bool& accept)
{
    if (OnListCloseUp)
        OnListCloseUp(this, SelectedColumn(), list, value, accept);
}

void TKelCustomDBGrid::AutoDropDownState(int state)
{
    if (auto* editor = qobject_cast<TKelDBGridInplaceEdit*>(InplaceEditor()))
        editor->NoteMouse(state, QPoint(Col(), Row()));
}

}  // namespace kelgrid
