// TKelCustomDBGrid: the mouse. A press on a data cell moves the data link
// to its record and the grid to its column, and selects by the modifiers;
// a title with dgTitleButtons is pressed like a button and its release
// toggles the sort marker and fires TitleClick; releases on cells, the
// indicator, the corner and the totals fire their click events; a press on
// a column or row border sizes it (the base does). Column moving, mouse
// scrolling and hot tracking of cells come with the grid's own column
// moves.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/dataset.h"

namespace kelgrid {

namespace {

bool Has(tk::TShiftState shift, tk::TShiftStateFlag flag)
{
    return shift.testFlag(flag);
}

}  // namespace

TKelCustomDBGrid::THit TKelCustomDBGrid::HitAt(int x, int y) const
{
    THit hit;
    const tk::TGridCoord cell = MouseCoord(x, y);
    hit.col = cell.X;
    hit.row = cell.Y;
    if (cell.X < 0 || cell.Y < 0)
        return hit;
    const int dataRows = RowCount() - d_->titleOffset - d_->totalOffset;
    hit.column = ColumnOfRaw(cell.X);
    if (cell.Y < d_->titleOffset) {
        hit.area = hit.column ? THitArea::Title : THitArea::Filler;
        if (hit.column) {
            hit.column = ColumnAtDepth(hit.column, cell.Y);
            hit.headerRow = HeaderRow(y, hit.column);
        }
    } else if (cell.Y - d_->titleOffset >= dataRows) {
        hit.area = TotalRowOf(cell.Y) >= 0 ? THitArea::Total : THitArea::Blank;
        hit.totalRow = TotalRowOf(cell.Y);
    } else {
        hit.area = hit.column ? THitArea::Data : THitArea::Indicator;
    }
    return hit;
}

void TKelCustomDBGrid::MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    d_->lastShiftState = shift;
    if (!hasFocus() && CanFocus())
        setFocus(Qt::MouseFocusReason);
    tk::TGridState sizing = tk::gsNormal;
    int index = -1;
    int sizingPos = 0;
    int sizingOfs = 0;
    CalcSizingState(x, y, sizing, index, sizingPos, sizingOfs);
    const THit hit = HitAt(x, y);
    if (sizing != tk::gsNormal || hit.area == THitArea::None || button != tk::mbLeft) {
        if (hit.area == THitArea::None && LinkActiveNow())
            d_->dataLink->UpdateRecord();
        tk::TCustomGrid::MouseDown(button, shift, x, y);
        return;
    }
    if (Has(shift, tk::ssDouble)) {
        if (hit.area == THitArea::Data && OnCellDblClick)
            OnCellDblClick(this, hit.column);
        return;
    }
    const bool titleButtons = d_->options.testFlag(dgTitleButtons);
    const bool shiftSelecting = Has(shift, tk::ssShift) && d_->options.testFlag(dgMultiSelect) && LinkActiveNow();
    if (titleButtons && !shiftSelecting &&
        ((hit.area == THitArea::Title && hit.headerRow < 0 && hit.column->Title()->Button()) ||
         (hit.area == THitArea::Filler && d_->fillerButton))) {
        // Pressed like a button until the release.
        d_->pressedCell = QPoint(hit.col, hit.row);
        d_->fillerPressed = hit.area == THitArea::Filler;
        d_->pressedColumn = hit.column;
        d_->pressTracked = true;
        d_->pressPoint = QPoint(x, y);
        SetHotCell(QPoint(-1, -1));
        if (LinkActiveNow())
            d_->dataLink->UpdateRecord();
        InvalidateTitles();
        return;
    }
    if (hit.area == THitArea::Data || hit.area == THitArea::Indicator)
        PressOnData(hit, shift);
    else if (hit.area == THitArea::Title && d_->options.testFlag(dgColumnResize))
        tk::TCustomGrid::MouseDown(button, shift, x, y);  // the base's column moving
}

void TKelCustomDBGrid::MouseMove(tk::TShiftState shift, int x, int y)
{
    d_->lastShiftState = shift;
    tk::TCustomGrid::MouseMove(shift, x, y);
    const THit hit = HitAt(x, y);
    if (d_->pressedCell.x() >= 0 && StartsColumnMove(QPoint(x, y))) {
        // Dragged sideways: the press becomes the base's column move,
        // started where the press was.
        const QPoint from = d_->pressPoint;
        d_->pressedCell = QPoint(-1, -1);
        d_->pressedColumn = nullptr;
        d_->pressTracked = false;
        InvalidateTitles();
        StartColumnMoving(from);
        tk::TCustomGrid::MouseMove(shift, x, y);
        return;
    }
    if (d_->pressedCell.x() >= 0) {
        // A pressed title shows pressed while the mouse stays on it.
        const bool on = hit.area == THitArea::Title || hit.area == THitArea::Filler
                            ? hit.column == d_->pressedColumn && hit.headerRow < 0
                            : false;
        if (on != d_->pressTracked) {
            d_->pressTracked = on;
            InvalidateTitles();
        }
        return;
    }
    SetHotCell(HotButtonAt(hit, x, y));
}

QPoint TKelCustomDBGrid::HotButtonAt(const THit& hit, int x, int y) const
{
    // A title that reacts as a button, or the corner, under a mouse that
    // is not on a sizing border and holds no button.
    if (!d_->options.testFlag(dgTitleButtons) || GridState() != tk::gsNormal)
        return QPoint(-1, -1);
    tk::TGridState sizing = tk::gsNormal;
    int index = -1;
    int sizingPos = 0;
    int sizingOfs = 0;
    const_cast<TKelCustomDBGrid*>(this)->CalcSizingState(x, y, sizing, index, sizingPos, sizingOfs);
    if (sizing != tk::gsNormal)
        return QPoint(-1, -1);
    const bool button = (hit.area == THitArea::Title && hit.headerRow < 0 && hit.column->Title()->Button()) ||
                        (hit.area == THitArea::Filler && d_->fillerButton);
    return button ? QPoint(hit.col, hit.row) : QPoint(-1, -1);
}

void TKelCustomDBGrid::SetHotCell(const QPoint& cell)
{
    if (cell == d_->hotCell && d_->fillerHot == (cell.x() == 0 && d_->indicatorOffset > 0))
        return;
    d_->hotCell = cell;
    d_->fillerHot = cell.x() >= 0 && cell.x() < d_->indicatorOffset;
    if (d_->options.testFlag(dgHotButtons))
        InvalidateTitles();
}

void TKelCustomDBGrid::leaveEvent(QEvent* event)
{
    tk::TCustomGrid::leaveEvent(event);
    SetHotCell(QPoint(-1, -1));
}

void TKelCustomDBGrid::PressOnData(const THit& hit, tk::TShiftState shift)
{
    if (!LinkActiveNow())
        return;
    const TSelectLock batch(*this);
    d_->dataLink->UpdateRecord();
    const int dataRow = hit.row - d_->titleOffset;
    d_->dataLink->MoveBy(dataRow - d_->dataLink->ActiveRecord());
    const bool fixed = hit.col < tk::TCustomGrid::FixedCols();
    if (hit.area == THitArea::Data && !RowScroll() && !fixed)
        MoveCol(hit.col, 0);
    UpdateActive();
    if (!d_->options.testFlag(dgMultiSelect))
        return;
    tk::TDataSet& dataSet = *DataSet();
    const bool extended = d_->options.testFlag(dgExtendedSelect);
    const bool alt = Has(shift, tk::ssAlt);
    if (alt && extended && Has(shift, tk::ssShift)) {
        SelectAll();
    } else if (alt && extended && Has(shift, tk::ssCtrl)) {
        InvertAll();
    } else if (alt && (extended || d_->optionsExt.testFlag(dgAutoUnselectOff))) {
        UnselectAll();
    } else if (Has(shift, tk::ssShift) && extended) {
        if (RowsSelection()) {
            if (d_->selectionAnchor.isEmpty())
                SetSelectionAnchor(dataSet.GetBookmark());
            d_->selectedRows->Clear();
            SelectRows();
        } else if (ColsSelection() && hit.column) {
            SetSelectionEndCol(hit.column->Index());
        }
    } else if (Has(shift, tk::ssCtrl) && extended) {
        if (d_->multiSelect == msCols && hit.column) {
            TKelColumnList& columns = *d_->selectedCols;
            columns.SetColumn(hit.column->Index(), !columns.Column(hit.column->Index()));
        } else if (d_->multiSelect == msRows) {
            InvertRow();
            SetSelectionAnchor(dataSet.GetBookmark());
        } else if (d_->multiSelectOptions.Has(msRows)) {
            ClearSelection();
        }
    } else if (!(d_->optionsExt.testFlag(dgAutoUnselectOff) && d_->multiSelectOptions == TMultiSelectOptions{msRows})) {
        ClearSelection();
        if (d_->optionsExt.testFlag(dgClickSelectOff)) {
            SetSelectionAnchor(dataSet.GetBookmark());
        } else if (RowsSelection()) {
            SelectRow();
            SetSelectionAnchor(dataSet.GetBookmark());
        }
    }
    d_->selecting = false;
}

void TKelCustomDBGrid::MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    d_->lastShiftState = shift;
    const bool sizing = GridState() == tk::gsColSizing || GridState() == tk::gsRowSizing ||
                        GridState() == tk::gsColMoving;
    const QPoint pressed = d_->pressedCell;
    TKelColumn* pressedColumn = d_->pressedColumn;
    const bool fillerPressed = d_->fillerPressed && d_->pressTracked;
    if (pressed.x() >= 0) {
        d_->pressTracked = false;
        d_->pressedCell = QPoint(-1, -1);
        d_->fillerPressed = false;
        d_->pressedColumn = nullptr;
        InvalidateTitles();
    }
    tk::TCustomGrid::MouseUp(button, shift, x, y);
    if (sizing) {
        if (GridState() == tk::gsNormal)
            ReportColumnResize();
        return;
    }
    if (button != tk::mbLeft)
        return;
    const THit hit = HitAt(x, y);
    switch (hit.area) {
    case THitArea::Total:
        TotalClick(hit.column, hit.totalRow);
        break;
    case THitArea::Indicator:
        IndicatorClick();
        break;
    case THitArea::Data:
        if (pressed.x() < 0)
            CellClick(RowScroll() || hit.col < tk::TCustomGrid::FixedCols() ? hit.column : ColumnOfRaw(Col()));
        break;
    case THitArea::Filler:
        if (fillerPressed || !d_->options.testFlag(dgTitleButtons))
            FillerClick();
        break;
    case THitArea::Title:
        if (hit.headerRow >= 0) {
            if (pressed.x() < 0)
                HeaderClick(hit.column, hit.headerRow);
        } else if (d_->options.testFlag(dgTitleButtons) ? (pressedColumn == hit.column && pressed.x() >= 0)
                                                         : !(Has(shift, tk::ssShift) &&
                                                             d_->options.testFlag(dgMultiSelect))) {
            if (d_->options.testFlag(dgMarkerAutoToggle) && hit.column->Title()->AutoToggle())
                hit.column->Title()->ToggleMarker(!Has(shift, tk::ssCtrl));
            TitleClick(hit.column);
        }
        break;
    default:
        break;
    }
}

void TKelCustomDBGrid::CellClick(TKelColumn* column)
{
    // A check box toggles by the click where its column says so.
    if (column && column->CheckBox() && LinkActiveNow() &&
        (column->ShowEdit() || !column->Field() || d_->options.testFlag(dgEditing)) &&
        column->CheckBoxToggle() == ctOnCellClick)
        column->ToggleCheckBoxValue();
    if (OnCellClick)
        OnCellClick(this, column);
}

void TKelCustomDBGrid::TitleClick(TKelColumn* column)
{
    if (OnTitleClick)
        OnTitleClick(this, column);
}

void TKelCustomDBGrid::HeaderClick(TKelColumn* column, int index)
{
    if (OnHeaderClick)
        OnHeaderClick(this, column, index);
}

void TKelCustomDBGrid::IndicatorClick()
{
    if (OnIndicatorClick)
        OnIndicatorClick(this);
}

void TKelCustomDBGrid::FillerClick()
{
    if (OnFillerClick)
        OnFillerClick(this);
}

void TKelCustomDBGrid::TotalClick(TKelColumn* column, int index)
{
    if (OnTotalClick)
        OnTotalClick(this, column, index);
}

}  // namespace kelgrid
