// The grid base's scrolling: LeftCol and TopRow, keeping a cell in view, and
// the scroll bars. The bars count whole cells from the first scrollable
// one. Their actions (line, page, ends, thumb) arrive as scroll codes, so a
// descendant sees what the user asked for, not just a new value.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/grids/gridaxis.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <optional>

namespace tk {

namespace {

std::optional<TScrollCode> ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return TScrollCode::LineUp;
    case QAbstractSlider::SliderSingleStepAdd:
        return TScrollCode::LineDown;
    case QAbstractSlider::SliderPageStepSub:
        return TScrollCode::PageUp;
    case QAbstractSlider::SliderPageStepAdd:
        return TScrollCode::PageDown;
    case QAbstractSlider::SliderToMinimum:
        return TScrollCode::Top;
    case QAbstractSlider::SliderToMaximum:
        return TScrollCode::Bottom;
    case QAbstractSlider::SliderMove:
        return TScrollCode::ThumbTrack;
    default:
        return std::nullopt;
    }
}

// The first cell an action on an axis leads to (not yet clamped).
int ScrolledFirst(const TGridAxis& axis, int clientExtent, TScrollCode code, int thumbPosition)
{
    const int first = axis.First();
    const int page = std::max(1, axis.VisibleCount(clientExtent));
    switch (code) {
    case TScrollCode::LineUp:
        return first - 1;
    case TScrollCode::LineDown:
        return first + 1;
    case TScrollCode::PageUp:
        return first - page;
    case TScrollCode::PageDown:
        return first + page;
    case TScrollCode::ThumbPosition:
    case TScrollCode::ThumbTrack:
        return axis.FixedCount() + thumbPosition;
    case TScrollCode::Top:
        return axis.FixedCount();
    case TScrollCode::Bottom:
        return axis.MaxFirst(clientExtent);
    case TScrollCode::EndScroll:
        return first;
    }
    return first;
}

void PutOntoBar(QScrollBar* bar, const TGridAxis& axis, int clientExtent)
{
    const QSignalBlocker blocker(bar);
    const int maximum = std::max(0, axis.MaxFirst(clientExtent) - axis.FixedCount());
    bar->setRange(0, maximum);
    bar->setPageStep(std::max(1, axis.VisibleCount(clientExtent)));
    bar->setSingleStep(1);
    bar->setValue(axis.First() - axis.FixedCount());
    bar->setSliderPosition(axis.First() - axis.FixedCount());
}

}  // namespace

int TCustomGrid::LeftCol() const
{
    return cols_->First();
}

void TCustomGrid::SetLeftCol(int col)
{
    SetTopLeft(col, TopRow());
}

int TCustomGrid::TopRow() const
{
    return rows_->First();
}

void TCustomGrid::SetTopRow(int row)
{
    SetTopLeft(LeftCol(), row);
}

void TCustomGrid::SetTopLeft(int left, int top)
{
    const bool leftMoved = cols_->SetFirst(left);
    const bool topMoved = rows_->SetFirst(top);
    if (!leftMoved && !topMoved)
        return;
    UpdateHorizontalBar();
    UpdateVerticalBar();
    UpdateEditorPlacement();
    InvalidateGrid();
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged()
{
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// Scrolls so that cell shows whole: a cell left of (above) the first shown
// becomes the first, one past the last shown becomes the last.
void TCustomGrid::ClampInView(TGridCoord cell)
{
    if (!HandleAllocated())
        return;
    int left = LeftCol();
    int top = TopRow();
    if (cell.X < left)
        left = cell.X;
    else if (cell.X >= FixedCols() && cell.X > cols_->LastFullyVisible(ClientExtentX()))
        left = cols_->FirstShowingWhole(cell.X, ClientExtentX());
    if (cell.Y < top)
        top = cell.Y;
    else if (cell.Y >= FixedRows() && cell.Y > rows_->LastFullyVisible(ClientExtentY()))
        top = rows_->FirstShowingWhole(cell.Y, ClientExtentY());
    SetTopLeft(left, top);
}

void TCustomGrid::UpdateHorizontalBar()
{
    const bool shown = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    // Qt shows a bar "as needed" when its range is not empty.
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    if (horizontalScrollBarPolicy() != policy)
        setHorizontalScrollBarPolicy(policy);
    PutOntoBar(horizontalScrollBar(), *cols_, ClientExtentX());
}

void TCustomGrid::UpdateVerticalBar()
{
    const bool shown = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const Qt::ScrollBarPolicy policy = shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    PutOntoBar(verticalScrollBar(), *rows_, ClientExtentY());
}

void TCustomGrid::ScrollHorizontally(TScrollCode code, int thumbPosition)
{
    if (code == TScrollCode::ThumbTrack && !(options_ & goThumbTracking))
        return;
    const int first = ScrolledFirst(*cols_, ClientExtentX(), code, thumbPosition);
    SetLeftCol(std::clamp(first, FixedCols(), cols_->MaxFirst(ClientExtentX())));
}

void TCustomGrid::ScrollVertically(TScrollCode code, int thumbPosition)
{
    if (code == TScrollCode::ThumbTrack && !(options_ & goThumbTracking))
        return;
    const int first = ScrolledFirst(*rows_, ClientExtentY(), code, thumbPosition);
    SetTopRow(std::clamp(first, FixedRows(), rows_->MaxFirst(ClientExtentY())));
}

QScrollBar* TCustomGrid::VerticalBar() const
{
    return verticalScrollBar();
}

QScrollBar* TCustomGrid::HorizontalBar() const
{
    return horizontalScrollBar();
}

// Bar actions arrive before Qt moves the bar: the grid scrolls and puts its
// own position back onto the bar, so bar and grid never disagree. Dragging
// the thumb without goThumbTracking moves only the thumb until the release.
void TCustomGrid::ConnectBar(QScrollBar* bar, bool horizontal)
{
    bar->setTracking(true);
    auto scroll = [this, horizontal](TScrollCode code, int position) {
        if (horizontal) {
            ScrollHorizontally(code, position);
            ScrollHorizontally(TScrollCode::EndScroll, position);
        } else {
            ScrollVertically(code, position);
            ScrollVertically(TScrollCode::EndScroll, position);
        }
    };
    connect(bar, &QScrollBar::actionTriggered, this, [this, bar, horizontal, scroll](int action) {
        Guarded([&] {
            const std::optional<TScrollCode> code = ScrollCodeOf(action);
            if (!code)
                return;
            if (*code == TScrollCode::ThumbTrack) {
                if (options_ & goThumbTracking)
                    (horizontal ? ScrollHorizontally(*code, bar->sliderPosition())
                                : ScrollVertically(*code, bar->sliderPosition()));
                return;
            }
            scroll(*code, bar->sliderPosition());
            if (horizontal)
                UpdateHorizontalBar();
            else
                UpdateVerticalBar();
        });
    });
    connect(bar, &QScrollBar::sliderReleased, this,
            [bar, scroll] { Guarded([&] { scroll(TScrollCode::ThumbPosition, bar->sliderPosition()); }); });
}

void TCustomGrid::scrollContentsBy(int, int)
{
    // The grid scrolls by cells and repaints; nothing is shifted.
}

void TCustomGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    Guarded([&] {
        UpdateHorizontalBar();
        UpdateVerticalBar();
        UpdateEditorPlacement();
    });
}

}  // namespace tk
