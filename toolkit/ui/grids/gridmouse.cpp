// The grid base's mouse handling and its one interaction state (see
// TGridState in gridtypes.h): sizing, moving, selecting with the timed
// scroll beyond the cells, double clicks and the wheel.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"

#include "toolkit/ui/cursors.h"
#include "toolkit/ui/grids/gridaxis.h"
#include "toolkit/ui/grids/gridinteraction.h"
#include "toolkit/ui/grids/inplaceedit.h"
#include "toolkit/ui/sysinfo.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace tk {

namespace {

struct MouseArgs {
    TMouseButton button;
    TShiftState shift;
    int x;
    int y;
};

std::optional<MouseArgs> ArgsOf(const QMouseEvent* event, bool doubleClick = false)
{
    const std::optional<TMouseButton> button = MouseButtonFrom(event->button());
    const QPoint at = event->position().toPoint();
    const TShiftState shift = ShiftStateFrom(event->modifiers(), event->buttons(), doubleClick);
    if (!button)
        return std::nullopt;
    return MouseArgs{*button, shift, at.x(), at.y()};
}

// Where the line after the last cell shown whole ends.
int FullVisibleBoundary(const TGridAxis& axis, int clientExtent)
{
    const int last = axis.LastFullyVisible(clientExtent);
    const int start = axis.Start(last);
    return start < 0 ? axis.FixedExtent() : start + axis.Extent(last);
}

}  // namespace

// --- Qt entries ------------------------------------------------------------

void TCustomGrid::mousePressEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (const std::optional<MouseArgs> args = ArgsOf(event))
            MouseDown(args->button, args->shift, args->x, args->y);
    });
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (const std::optional<MouseArgs> args = ArgsOf(event, true))
            MouseDown(args->button, args->shift, args->x, args->y);
    });
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* event)
{
    Guarded([&] {
        const QPoint at = event->position().toPoint();
        MouseMove(ShiftStateFrom(event->modifiers(), event->buttons()), at.x(), at.y());
    });
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (const std::optional<MouseArgs> args = ArgsOf(event))
            MouseUp(args->button, args->shift, args->x, args->y);
    });
}

void TCustomGrid::wheelEvent(QWheelEvent* event)
{
    Guarded([&] {
        const int notches = event->angleDelta().y() / 120;
        const TShiftState shift = ShiftStateFrom(event->modifiers(), event->buttons());
        const QPoint at = event->position().toPoint();
        bool handled = false;
        for (int i = 0; i < std::abs(notches); ++i)
            handled |= notches < 0 ? DoMouseWheelDown(shift, at) : DoMouseWheelUp(shift, at);
        event->setAccepted(handled || notches == 0);
    });
}

// --- The default steps ----------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!hasFocus() && CanFocus() && !(editor_ && editor_->hasFocus()))
        setFocus(Qt::MouseFocusReason);
    if (button != mbLeft)
        return;
    if (shift & ssDouble) {
        DblClick();
        return;
    }
    Interaction& i = *interaction_;
    TGridState state = gsNormal;
    int index = -1;
    int sizingPos = 0;
    int sizingOfs = 0;
    CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
    if (state == gsColSizing || state == gsRowSizing) {
        HideEditor();
        gridState_ = state;
        i.sizingIndex = index;
        i.sizingPos = sizingPos;
        i.sizingOfs = sizingOfs;
        return;
    }
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0)
        return;
    if (cell.Y < FixedRows() && cell.X >= FixedCols() && (options_ & goColMoving)) {
        i.movePending = true;
        i.pendingIsColumn = true;
        i.pressPoint = {x, y};
        return;
    }
    if (cell.X < FixedCols() && cell.Y >= FixedRows() && (options_ & goRowMoving)) {
        i.movePending = true;
        i.pendingIsColumn = false;
        i.pressPoint = {x, y};
        return;
    }
    if (cell.X < FixedCols() || cell.Y < FixedRows())
        return;
    if ((options_ & goEditing) && cell == current_) {
        ShowEditor();
        if (OnClick)
            OnClick(this);
        return;
    }
    gridState_ = gsSelecting;
    i.lastMouse = {x, y};
    i.selectTimer.Start(Interaction::scrollInterval);
    if ((shift & ssShift) && (options_ & goRangeSelect))
        MoveAnchor(cell);
    else
        FocusCell(cell.X, cell.Y, true);
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y)
{
    Interaction& i = *interaction_;
    i.lastMouse = {x, y};
    if (i.movePending && (shift & ssLeft)) {
        if ((QPoint(x, y) - i.pressPoint).manhattanLength() <= DragThreshold())
            return;
        i.movePending = false;
        StartMoving(i.pendingIsColumn, i.pressPoint);
    }
    switch (gridState_) {
    case gsNormal: {
        // The sizing cursor over a border that a press would size.
        TGridState state = gsNormal;
        int index = -1;
        int sizingPos = 0;
        int sizingOfs = 0;
        if (!(shift & (ssLeft | ssRight | ssMiddle)))
            CalcSizingState(x, y, state, index, sizingPos, sizingOfs);
        viewport()->setCursor(state == gsColSizing   ? CursorFor(CursorValues::crHSplit)
                              : state == gsRowSizing ? CursorFor(CursorValues::crVSplit)
                                                     : CursorFor(Cursor()));
        break;
    }
    case gsSelecting:
        TrackSelecting(x, y);
        break;
    case gsColSizing:
    case gsRowSizing:
        TrackSizing(x, y);
        break;
    case gsColMoving:
    case gsRowMoving:
        TrackMoving(x, y);
        break;
    }
}

void TCustomGrid::MouseUp(TMouseButton, TShiftState, int x, int y)
{
    interaction_->movePending = false;
    if (gridState_ == gsNormal)
        return;
    const bool selecting = gridState_ == gsSelecting;
    EndInteraction(x, y, true);
    if (selecting)
        UpdateEditorText();
}

void TCustomGrid::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState, const QPoint&)
{
    if (Row() < RowCount() - 1)
        SetRow(Row() + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState, const QPoint&)
{
    if (Row() > FixedRows())
        SetRow(Row() - 1);
    return true;
}

void TCustomGrid::CancelMode()
{
    TControl::CancelMode();
    interaction_->movePending = false;
    if (gridState_ != gsNormal)
        EndInteraction(interaction_->lastMouse.x(), interaction_->lastMouse.y(), false);
}

// --- Sizing ------------------------------------------------------------------

void TCustomGrid::CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs)
{
    state = gsNormal;
    index = -1;
    if (!(options_ & (goColSizing | goRowSizing)))
        return;
    // A border counts within a few pixels of it (at least 7 pixels wide).
    auto findBorder = [&](const TGridAxis& axis, int pos, int extent, TGridState sizing) {
        const int line = axis.LineWidth();
        int range = line;
        int back = 0;
        if (range < 7) {
            range = 7;
            back = (range - line) / 2;
        }
        const int last = axis.LastVisible(extent);
        for (int i = axis.First(); i <= last; ++i) {
            if (axis.IsHidden(i))
                continue;
            const int end = axis.Start(i) + axis.Extent(i) - line;
            if (end > extent)
                break;
            if (pos >= end - back && pos <= end - back + range) {
                state = sizing;
                sizingPos = end;
                sizingOfs = end - pos;
                index = i;
                return;
            }
        }
    };
    const int lx = LogicalX(x);
    if (lx > cols_->FixedExtent() && (options_ & goColSizing)) {
        if (y < rows_->FixedExtent())
            findBorder(*cols_, lx, ClientExtentX(), gsColSizing);
    } else if (y > rows_->FixedExtent() && (options_ & goRowSizing)) {
        if (lx < cols_->FixedExtent())
            findBorder(*rows_, y, ClientExtentY(), gsRowSizing);
    }
}

// The border follows the mouse and the cell's size with it, live.
void TCustomGrid::TrackSizing(int x, int y)
{
    Interaction& i = *interaction_;
    const bool columns = gridState_ == gsColSizing;
    const TGridAxis& axis = columns ? *cols_ : *rows_;
    const int start = axis.Start(i.sizingIndex);
    if (start < 0)
        return;
    i.sizingPos = (columns ? LogicalX(x) : y) + i.sizingOfs;
    const int size = i.sizingPos - start;
    if (size <= 1)
        return;
    if (columns)
        SetColWidths(i.sizingIndex, size);
    else
        SetRowHeights(i.sizingIndex, size);
}

// --- Moving ----------------------------------------------------------------

void TCustomGrid::StartColumnMoving(const QPoint& pressPoint)
{
    StartMoving(true, pressPoint);
}

// A move starts on a scrollable title (column) or row header (row) when
// the descendant's Begin...Drag agrees.
void TCustomGrid::StartMoving(bool columns, const QPoint& pressPoint)
{
    const TGridCoord cell = MouseCoord(pressPoint.x(), pressPoint.y());
    const int index = columns ? cell.X : cell.Y;
    const int across = columns ? cell.Y : cell.X;
    if (index < (columns ? FixedCols() : FixedRows()) || across < 0 ||
        across >= (columns ? FixedRows() : FixedCols()))
        return;
    Interaction& i = *interaction_;
    i.movePending = false;
    i.moveIndex = index;
    i.movePos = index;
    const bool begun = columns ? BeginColumnDrag(i.moveIndex, i.movePos, pressPoint)
                               : BeginRowDrag(i.moveIndex, i.movePos, pressPoint);
    if (!begun) {
        i.moveIndex = i.movePos = -1;
        return;
    }
    gridState_ = columns ? gsColMoving : gsRowMoving;
    i.lastMouse = pressPoint;
    i.selectTimer.Start(Interaction::scrollInterval);
    InvalidateGrid();
}

// The destination follows the mouse along the axis; passing the fixed cells
// scrolls one cell back, passing the last cell shown whole one forward.
void TCustomGrid::TrackMoving(int x, int y)
{
    Interaction& i = *interaction_;
    const bool columns = gridState_ == gsColMoving;
    const TGridAxis& axis = columns ? *cols_ : *rows_;
    const int extent = columns ? ClientExtentX() : ClientExtentY();
    const int mouse = columns ? LogicalX(x) : y;
    const QPoint point(x, y);
    const int lastCell = axis.Count() - 1;
    const int lastShown = axis.LastVisible(extent);
    const int gridBoundary = axis.Start(lastShown) + axis.Extent(lastShown);
    int hit = axis.IndexAt(mouse, extent);
    if (hit == i.movePos || (i.movePos == axis.FixedCount() && mouse < axis.FixedExtent()) ||
        (i.movePos == lastCell && mouse > gridBoundary))
        return;
    if (mouse < axis.FixedExtent()) {
        if (i.movePos > axis.FixedCount())
            columns ? SetLeftCol(LeftCol() - 1) : SetTopRow(TopRow() - 1);
        hit = axis.First();
    } else if (mouse >= FullVisibleBoundary(axis, extent)) {
        const int lastWhole = axis.LastFullyVisible(extent);
        if (i.movePos == lastWhole && i.movePos < lastCell)
            columns ? SetLeftCol(LeftCol() + 1) : SetTopRow(TopRow() + 1);
        hit = axis.LastFullyVisible(extent);
    } else if (hit < 0) {
        hit = i.movePos;
    }
    const bool accepted =
        columns ? CheckColumnDrag(i.moveIndex, hit, point) : CheckRowDrag(i.moveIndex, hit, point);
    if (accepted)
        i.movePos = hit;
    InvalidateGrid();
}

bool TCustomGrid::BeginColumnDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::CheckColumnDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::EndColumnDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::BeginRowDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::CheckRowDrag(int&, int&, const QPoint&)
{
    return true;
}

bool TCustomGrid::EndRowDrag(int&, int&, const QPoint&)
{
    return true;
}

// --- Selecting and the timed scroll ----------------------------------------------

void TCustomGrid::TrackSelecting(int x, int y)
{
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X >= FixedCols() && cell.Y >= FixedRows() && cell != anchor_)
        MoveAnchor(cell);
}

TGridScrollDirections TCustomGrid::DirectionsOutside(int x, int y) const
{
    TGridScrollDirections directions;
    const int lx = LogicalX(x);
    if (lx < cols_->FixedExtent())
        directions |= sdLeft;
    else if (lx > FullVisibleBoundary(*cols_, ClientExtentX()))
        directions |= sdRight;
    if (y < rows_->FixedExtent())
        directions |= sdUp;
    else if (y > FullVisibleBoundary(*rows_, ClientExtentY()))
        directions |= sdDown;
    return directions;
}

// Runs while a drag is under way, every scroll interval: a selecting drag
// outside the cells scrolls (TimedScroll), a move at the edges goes on
// scrolling.
void TCustomGrid::SelectTimerTick()
{
    Interaction& i = *interaction_;
    switch (gridState_) {
    case gsSelecting:
        if (const TGridScrollDirections directions = DirectionsOutside(i.lastMouse.x(), i.lastMouse.y()))
            TimedScroll(directions);
        break;
    case gsColMoving:
    case gsRowMoving:
        TrackMoving(i.lastMouse.x(), i.lastMouse.y());
        break;
    default:
        return;
    }
    if (gridState_ != gsNormal)
        i.selectTimer.Start(Interaction::scrollInterval);
}

void TCustomGrid::TimedScroll(TGridScrollDirections directions)
{
    TGridCoord anchor = anchor_;
    if ((directions & sdLeft) && anchor.X > FixedCols())
        anchor.X = NextShownCol(anchor.X, -1);
    if ((directions & sdRight) && anchor.X < ColCount() - 1)
        anchor.X = NextShownCol(anchor.X, +1);
    if ((directions & sdUp) && anchor.Y > FixedRows())
        --anchor.Y;
    if ((directions & sdDown) && anchor.Y < RowCount() - 1)
        ++anchor.Y;
    if (anchor != anchor_)
        MoveAnchor(anchor);
}

// --- The end of an interaction ------------------------------------------------------

void TCustomGrid::EndInteraction(int x, int y, bool drop)
{
    Interaction& i = *interaction_;
    const TGridState state = gridState_;
    gridState_ = gsNormal;
    i.selectTimer.Stop();
    i.movePending = false;
    int origin = i.moveIndex;
    int destination = i.movePos;
    i.moveIndex = i.movePos = -1;
    i.sizingIndex = -1;
    const QPoint point(x, y);
    switch (state) {
    case gsSelecting:
        if (drop)
            TrackSelecting(x, y);
        break;
    case gsColMoving:
        InvalidateGrid();
        if (drop && EndColumnDrag(origin, destination, point) && origin != destination)
            MoveColumn(origin, destination);
        break;
    case gsRowMoving:
        InvalidateGrid();
        if (drop && EndRowDrag(origin, destination, point) && origin != destination)
            MoveRow(origin, destination);
        break;
    default:
        break;
    }
}

}  // namespace tk
