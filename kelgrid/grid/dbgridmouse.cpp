// TKelCustomDBGrid: the mouse. A press on a data cell moves the data link
// to its record and the grid to its column, and selects by the modifiers;
// a title with dgTitleButtons is pressed like a button and its release
// toggles the sort marker and fires TitleClick (or ExpandClick on its
// expand button), or, dragged sideways or below the titles, selects
// columns; a check box cell is pressed like a button too; releases
// on cells, the indicator, the corner and the totals fire their click
// events; a press on a column or row border sizes it (the base does), a
// double click on it sets the optimal width, a middle click the default
// one. Hot tracking is in dbgridhot.cpp, mouse scrolling in
// dbgridmousescroll.cpp, context menus in dbgridmenus.cpp.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/cursors.h"
#include "toolkit/ui/grids/inplaceedit.h"
#include "toolkit/ui/sysinfo.h"

#include <cstdlib>

namespace kelgrid {

namespace {

bool Has(tk::TShiftState shift, tk::TShiftStateFlag flag)
{
    return shift.testFlag(flag);
}

// The cursor of a drag of selectedCount records.
QCursor RowsDragCursor(int selectedCount)
{
    return tk::CursorFor(selectedCount > 1 ? tk::crMultiDrag : tk::crDrag);
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

bool TKelCustomDBGrid::SizingBorderAt(int x, int y, tk::TGridState& state, int& index)
{
    int sizingPos = 0;
    int sizingOfs = 0;
    CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
    return state != tk::gsNormal;
}

void TKelCustomDBGrid::MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    ResetHintPause();
    // A press the focus could not follow (a handler kept it elsewhere) is
    // dropped; a grid that takes no focus still works with the mouse, and
    // so does one whose window is only being activated by this press.
    const bool editorFocused = InplaceEditor() && InplaceEditor()->hasFocus();
    if (!editorFocused && !AcquireFocus() && CanFocus() && isActiveWindow())
        return;
    d_->lastShiftState = shift;
    AutoDropDownState(-2);
    tk::TGridState sizing = tk::gsNormal;
    int sizingIndex = -1;
    SizingBorderAt(x, y, sizing, sizingIndex);
    TKelColumn* sizingColumn = sizing == tk::gsColSizing ? d_->sizingCol.data() : nullptr;
    const THit hit = HitAt(x, y);

    if (Has(shift, tk::ssDouble)) {
        if (button == tk::mbLeft && sizingColumn && d_->resizeOptions.testFlag(roOptimalWidth)) {
            sizingColumn->SetWidth(sizingColumn->OptimalWidth());
            return;
        }
        if (button == tk::mbLeft && hit.area == THitArea::Data && OnCellDblClick) {
            CellDblClick(hit.column);
            return;
        }
        tk::TCustomGrid::MouseDown(button, shift, x, y);
        return;
    }
    if (button == tk::mbMiddle && sizingColumn && d_->resizeOptions.testFlag(roDefaultWidth)) {
        sizingColumn->SetWidth(sizingColumn->DefaultWidth());
        return;
    }
    if (sizing != tk::gsNormal) {
        if (button == tk::mbLeft)
            tk::TCustomGrid::MouseDown(button, shift, x, y);  // the base sizes
        return;
    }
    if (hit.area == THitArea::None) {
        if (LinkActiveNow())
            d_->dataLink->UpdateRecord();
        tk::TCustomGrid::MouseDown(button, shift, x, y);
        return;
    }
    // Docking from the corner (DragKind dkDock) is not emulated by the
    // toolkit: such a press is an ordinary corner press.

    const bool titles = hit.area == THitArea::Title || hit.area == THitArea::Filler;
    const bool titleButtons = d_->options.testFlag(dgTitleButtons);
    const bool shiftSelecting =
        Has(shift, tk::ssShift) && d_->options.testFlag(dgMultiSelect) && LinkActiveNow();
    const bool onExpand = hit.area == THitArea::Title && OnExpandButton(hit, x, y);
    if (onExpand && !titleButtons)
        return;  // the release clicks the expand button
    if (titles && button == tk::mbLeft) {
        if (titleButtons && !shiftSelecting && IsTitleButton(hit, x, y)) {
            // Pressed like a button until the release.
            d_->pressedCell = QPoint(hit.col, hit.row);
            d_->fillerPressed = hit.area == THitArea::Filler;
            d_->pressedColumn = hit.column;
            d_->pressTracked = true;
            d_->pressPoint = QPoint(x, y);
            SetHotCell(QPoint(-1, -1));
            d_->expandTracked = onExpand;
            if (LinkActiveNow())
                d_->dataLink->UpdateRecord();
            InvalidateTitles();
            return;
        }
        // A Shift press selects columns below.
        if (d_->options.testFlag(dgRightMoving) && !shiftSelecting)
            return;
    }

    const bool onData = hit.area == THitArea::Data || hit.area == THitArea::Indicator;
    if (onData || (titles && !d_->options.testFlag(dgColumnResize)) || shiftSelecting) {
        if (button == tk::mbLeft && hit.area == THitArea::Data && hit.column->CanCellTrack()) {
            d_->cellTracking = true;
            d_->trackCell = QPoint(hit.col, hit.row);
            d_->cellPressed = true;
            InvalidateCell(hit.col, hit.row);
        }
        const bool wasSelected = onData && LinkActiveNow() && hit.col == Col() &&
                                 hit.row - d_->titleOffset == d_->dataLink->ActiveRecord();
        if (hit.area == THitArea::Data)
            AutoDropDownState(-1);
        if (onData)
            PressOnData(hit, button, shift);
        else if (hit.area == THitArea::Title && button == tk::mbLeft)
            PressOnTitle(hit, shift);
        if (button == tk::mbLeft) {
            d_->selectedCell = wasSelected;
            // A second click on the current cell edits it.
            const bool editable = hit.area == THitArea::Data && hit.column && hit.column->CanEditShow() &&
                                  !hit.column->CheckBox();
            if ((wasSelected && editable) || d_->options.testFlag(dgAlwaysShowEditor))
                ShowEditor();
        }
        const bool scrollable = hit.area == THitArea::Data && hit.col >= tk::TCustomGrid::FixedCols();
        const bool msColsMode = d_->multiSelect == msCols && d_->options.testFlag(dgMultiSelect);
        if (d_->dragRows && DragKind() == tk::TControlEnums::dkDrag && button == tk::mbLeft && scrollable &&
            !d_->cellTracking) {
            viewport()->setCursor(RowsDragCursor(d_->selectedRows->Count()));
            BeginDrag(false);
        } else if (d_->optionsExt.testFlag(dgMouseScrolling) && button == tk::mbLeft &&
                   (!titles || msColsMode) && hit.area != THitArea::Total && hit.area != THitArea::Blank &&
                   !d_->cellTracking && !(Has(shift, tk::ssCtrl) && msColsMode) &&
                   !(d_->optionsExt.testFlag(dgAutoUnselectOff) &&
                     d_->multiSelectOptions == TMultiSelectOptions{msRows}) &&
                   !(Has(shift, tk::ssAlt) && ExtendedSelect())) {
            StartScrollTracking(x, y);
        }
        if (onData)
            return;
    }

    if (titles && d_->options.testFlag(dgColumnResize)) {
        if (!d_->options.testFlag(dgRightMoving)) {
            if (button == tk::mbLeft)
                tk::TCustomGrid::MouseDown(button, shift, x, y);  // the base's column moving
        } else if (button == tk::mbRight && hit.area == THitArea::Title &&
                   hit.col >= tk::TCustomGrid::FixedCols()) {
            // Right-button moving: the move starts as a left press would,
            // and the release of the right button drops it.
            StartColumnMoving(QPoint(x, y));
        }
    }
}

void TKelCustomDBGrid::MouseMove(tk::TShiftState shift, int x, int y)
{
    d_->lastShiftState = shift;
    tk::TCustomGrid::MouseMove(shift, x, y);
    if (d_->dragRows && (DragPending() || Dragging()))
        viewport()->setCursor(RowsDragCursor(d_->selectedRows->Count()));  // the base put its own
    const THit hit = HitAt(x, y);
    if (d_->pressedCell.x() >= 0) {
        TrackButton(hit, x, y);
        return;
    }
    if (d_->cellTracking)
        TrackCell(x, y);
    if (d_->scrollTracking)
        TrackScrolling(x, y);
    const bool buttonsHeld = Has(shift, tk::ssLeft) || Has(shift, tk::ssRight) || Has(shift, tk::ssMiddle);
    if (!buttonsHeld) {
        const QPoint hot = HotButtonAt(hit, x, y);
        SetExpandTracked(hot.x() >= 0 && hit.area == THitArea::Title && OnExpandButton(hit, x, y));
        SetHotCell(hot);
    }
    const bool hotData = hit.area == THitArea::Data && hit.column->CanCellTrack() && !d_->scrollTracking;
    SetHotDataCell(hotData ? QPoint(hit.col, hit.row) : QPoint(-1, -1));
    FollowMouse(hit, x, y);
}

void TKelCustomDBGrid::TrackButton(const THit& hit, int x, int y)
{
    if (StartsColumnMove(QPoint(x, y)) && !d_->expandTracked) {
        // Dragged sideways: the press becomes the base's column move,
        // started where the press was.
        const QPoint from = d_->pressPoint;
        StopButtonTracking();
        StartColumnMoving(from);
        tk::TCustomGrid::MouseMove(d_->lastShiftState, x, y);
        return;
    }
    if (StartsColumnsSelection(x, y)) {
        // The press becomes a columns selection: replayed with Shift where
        // it began, so that the selection starts at the pressed title and
        // the mouse scrolling extends it.
        const QPoint from = d_->pressPoint;
        StopButtonTracking();
        ClearSelection();
        MouseDown(tk::mbLeft, d_->lastShiftState | tk::ssShift | tk::ssLeft, from.x(), from.y());
        return;
    }
    // A pressed title shows pressed while the mouse stays on it (on its
    // expand button when the press began there).
    bool on = false;
    if (d_->fillerPressed)
        on = hit.area == THitArea::Filler;
    else if (hit.area == THitArea::Title)
        on = hit.col == d_->pressedCell.x() && hit.headerRow < 0 &&
             (!d_->expandTracked || OnExpandButton(hit, x, y));
    if (on != d_->pressTracked) {
        d_->pressTracked = on;
        InvalidateTitles();
    }
}

void TKelCustomDBGrid::TrackCell(int x, int y)
{
    const tk::TGridCoord cell = MouseCoord(x, y);
    const bool on = QPoint(cell.X, cell.Y) == d_->trackCell;
    if (on == d_->cellPressed)
        return;
    d_->cellPressed = on;
    InvalidateCell(d_->trackCell.x(), d_->trackCell.y());
}

void TKelCustomDBGrid::StopButtonTracking()
{
    if (d_->pressedCell.x() < 0)
        return;
    d_->pressTracked = false;
    d_->pressedCell = QPoint(-1, -1);
    d_->fillerPressed = false;
    d_->pressedColumn = nullptr;
    d_->expandTracked = false;
    InvalidateTitles();
}

void TKelCustomDBGrid::StopCellTracking()
{
    if (!d_->cellTracking)
        return;
    const QPoint cell = d_->trackCell;
    d_->cellTracking = false;
    d_->cellPressed = false;
    d_->trackCell = QPoint(-1, -1);
    InvalidateCell(cell.x(), cell.y());
}

void TKelCustomDBGrid::StopMouseTracking()
{
    StopButtonTracking();
    StopCellTracking();
    StopScrollTracking(0, 0, false);
}

void TKelCustomDBGrid::FollowMouse(const THit& hit, int x, int y)
{
    // dgMouseTracking: the current cell follows a mouse that nothing else
    // uses.
    if (!d_->options.testFlag(dgMouseTracking) || d_->options.testFlag(dgMultiSelect) ||
        GridState() != tk::gsNormal || (InplaceEditor() && InplaceEditor()->hasFocus()) || d_->cellTracking ||
        d_->scrollTracking || d_->pressedCell.x() >= 0 || hit.area != THitArea::Data || !LinkActiveNow())
        return;
    ScrollToCellAt(x, y, true);
}

void TKelCustomDBGrid::PressOnData(const THit& hit, tk::TMouseButton button, tk::TShiftState shift)
{
    if (!LinkActiveNow())
        return;
    const TSelectLock batch(*this);
    d_->dataLink->UpdateRecord();
    HideEditor();
    const int dataRow = hit.row - d_->titleOffset;
    d_->dataLink->MoveBy(dataRow - d_->dataLink->ActiveRecord());
    const bool fixed = hit.col < tk::TCustomGrid::FixedCols();
    if (hit.area == THitArea::Data && !RowScroll() && !fixed)
        MoveCol(hit.col, 0);
    UpdateActive();
    if (button != tk::mbLeft || !d_->options.testFlag(dgMultiSelect))
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
    } else if (!(d_->optionsExt.testFlag(dgAutoUnselectOff) &&
                 d_->multiSelectOptions == TMultiSelectOptions{msRows})) {
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

bool TKelCustomDBGrid::StartsColumnsSelection(int x, int y) const
{
    TKelColumn* pressed = d_->pressedColumn;
    if (!pressed || d_->fillerPressed || d_->expandTracked || !d_->options.testFlag(dgMultiSelect) ||
        d_->options.testFlag(dgRowSelect) || !d_->multiSelectOptions.Has(msCols) || !LinkActiveNow() ||
        pressed->Index() < SelectionOffset())
        return false;
    return std::abs(x - d_->pressPoint.x()) > tk::DragThreshold() || y >= TitleHeight();
}

void TKelCustomDBGrid::PressOnTitle(const THit& hit, tk::TShiftState shift)
{
    if (!LinkActiveNow() || !d_->options.testFlag(dgMultiSelect) || d_->options.testFlag(dgRowSelect) ||
        !d_->multiSelectOptions.Has(msCols) || Has(shift, tk::ssCtrl) || Has(shift, tk::ssAlt))
        return;
    TKelColumn* title = hit.column;
    const int first = title->Index();
    const int last = title->ExpandIndex();
    if (first < SelectionOffset())
        return;
    const TSelectLock batch(*this);
    // The clicked title's column becomes current, as a click on a cell
    // would make it, so that the scrolling that follows keeps the range.
    const bool extend = Has(shift, tk::ssShift) && d_->multiSelect == msCols && SelectionBegCol() >= 0;
    const bool towardsEnd = !extend || first >= SelectionBegCol();
    if (!RowScroll())
        MoveCol(DataToRawColumn(towardsEnd && extend ? last : first), towardsEnd && extend ? -1 : 1);
    if (extend) {
        SetSelectionEndCol(towardsEnd ? last : first);
        return;
    }
    // A new range from the title's first shown column; a group's reaches
    // its last column.
    SetMultiSelect(msCols);
    SetSelectionEndCol(last);
}

void TKelCustomDBGrid::MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    d_->lastShiftState = shift;
    AutoDropDownState(-3);
    const bool sizing =
        GridState() == tk::gsColSizing || GridState() == tk::gsRowSizing || GridState() == tk::gsColMoving;
    const QPoint pressed = d_->pressedCell;
    TKelColumn* pressedColumn = d_->pressedColumn;
    const bool pressTracked = d_->pressTracked;
    const bool expandPressed = d_->expandTracked && pressed.x() >= 0;
    const bool fillerPressed = d_->fillerPressed && pressTracked;
    const bool cellTracked = d_->cellTracking;
    const QPoint trackCell = d_->trackCell;
    StopButtonTracking();
    StopCellTracking();
    if (button == tk::mbLeft) {
        SetHotCell(QPoint(-1, -1));
        SetHotDataCell(QPoint(-1, -1));
    }
    const bool scrolled = StopScrollTracking(x, y, true);
    tk::TCustomGrid::MouseUp(button, shift, x, y);
    if (sizing) {
        if (GridState() == tk::gsNormal)
            ReportColumnResize();
        return;
    }
    if (button != tk::mbLeft)
        return;
    const THit hit = HitAt(x, y);
    const bool titleButtons = d_->options.testFlag(dgTitleButtons);
    if (scrolled && (hit.area == THitArea::Title || hit.area == THitArea::Filler ||
                     hit.area == THitArea::Total || hit.area == THitArea::Blank))
        return;
    switch (hit.area) {
    case THitArea::Total:
        if (hit.column)
            TotalClick(hit.column, hit.totalRow);
        else
            IndicatorClick();
        break;
    case THitArea::Indicator:
        if (!(titleButtons && pressed.x() >= 0))
            IndicatorClick();
        break;
    case THitArea::Data:
        if (titleButtons && pressed.x() >= 0)
            break;
        if (cellTracked) {
            if (QPoint(hit.col, hit.row) == trackCell)
                CellClick(hit.column);
        } else if (!hit.column->CanCellTrack()) {
            CellClick(RowScroll() || hit.col < tk::TCustomGrid::FixedCols() ? hit.column
                                                                            : ColumnOfRaw(Col()));
        }
        break;
    case THitArea::Filler:
        if (titleButtons ? fillerPressed : true)
            FillerClick();
        break;
    case THitArea::Title:
        if (titleButtons) {
            if (hit.headerRow >= 0) {
                if (pressed.x() < 0)
                    HeaderClick(hit.column, hit.headerRow);
            } else if (pressed.x() >= 0 && pressedColumn == hit.column && pressTracked) {
                if (expandPressed) {
                    if (OnExpandButton(hit, x, y))
                        ExpandClick(hit.column);
                } else {
                    if (d_->options.testFlag(dgMarkerAutoToggle) && hit.column->Title()->AutoToggle())
                        hit.column->Title()->ToggleMarker(!Has(shift, tk::ssCtrl));
                    TitleClick(hit.column);
                }
            }
        } else if (hit.headerRow >= 0) {
            HeaderClick(hit.column, hit.headerRow);
        } else if (OnExpandButton(hit, x, y)) {
            ExpandClick(hit.column);
        } else if (!(Has(shift, tk::ssShift) && d_->options.testFlag(dgMultiSelect))) {
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
    // A check box toggles by the click where its column says so: on any
    // click (ctOnCellClick) or on a click on the cell already selected
    // (ctSelectClick).
    const TCheckBoxToggle toggle = column ? column->CheckBoxToggle() : ctCustomToggle;
    if (column && column->CheckBox() && LinkActiveNow() &&
        (column->ShowEdit() || !column->Field() || d_->options.testFlag(dgEditing)) &&
        (toggle == ctOnCellClick || (toggle == ctSelectClick && d_->selectedCell)))
        column->ToggleCheckBoxValue();
    if (OnCellClick)
        OnCellClick(this, column);
}

void TKelCustomDBGrid::CellDblClick(TKelColumn* column)
{
    if (OnCellDblClick)
        OnCellDblClick(this, column);
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

void TKelCustomDBGrid::TotalClick(TKelColumn* column, int index)
{
    if (OnTotalClick)
        OnTotalClick(this, column, index);
}

// --- Drag of rows ---------------------------------------------------------------------------

bool TKelCustomDBGrid::DragRows() const
{
    return d_->dragRows;
}

void TKelCustomDBGrid::SetDragRows(bool on)
{
    d_->dragRows = on;
}

}  // namespace kelgrid
