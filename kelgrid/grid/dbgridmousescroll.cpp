// TKelCustomDBGrid: mouse scrolling (dgMouseScrolling). While a left press
// on the data is held the current cell follows the mouse; beyond the
// edges of the scrolling area a timer keeps stepping, the faster the
// farther the mouse is: one column sideways, or rows up or down by a fifth
// of the distance. The tracking ends with the release (one more scroll to
// the release point) or with cancel mode. Also the base's timed scroll of
// selecting drags, and cancel mode itself.

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/grids/gridaxis.h"

#include <QApplication>
#include <QFocusEvent>
#include <QScopeGuard>

namespace kelgrid {

namespace {

// The interval of the next step for a mouse d pixels beyond an edge.
int StepInterval(int distance)
{
    return std::max(200 - 15 * distance, 5);
}

}  // namespace

bool TKelCustomDBGrid::ScrollTracking() const
{
    return d_->scrollTracking;
}

int TKelCustomDBGrid::ScrollTimerInterval() const
{
    return d_->scrollTimer && d_->scrollTimer->Active() ? d_->scrollTimer->Interval() : 0;
}

void TKelCustomDBGrid::StartScrollTracking(int x, int y)
{
    d_->scrollTracking = true;
    // A press inside the fixed columns or the titles scrolls only once the
    // mouse has left them.
    const int fixedWidth = ColAxis().FixedExtent();
    const int titleHeight = TitleHeight();
    d_->scrollStartPos = QPoint(x < fixedWidth ? 0 : fixedWidth, y < titleHeight ? 0 : titleHeight);
    d_->scrollMousePos = QPoint(x, y);
    ScrollToCellAt(x, y, false);
}

void TKelCustomDBGrid::TrackScrolling(int x, int y)
{
    if (d_->scrollStartPos.x() == 0 && x >= ColAxis().FixedExtent())
        d_->scrollStartPos.setX(ColAxis().FixedExtent());
    if (d_->scrollStartPos.y() == 0 && y >= TitleHeight())
        d_->scrollStartPos.setY(TitleHeight());
    ScrollToCellAt(x, y, true);
    const bool moved = QPoint(x, y) != d_->scrollMousePos;
    d_->scrollMousePos = QPoint(x, y);
    if (moved)
        StartScrollTimer();
}

void TKelCustomDBGrid::StartScrollTimer()
{
    if (!d_->scrollTracking)
        return;
    const TSelectLock batch(*this);
    const QPoint at = d_->scrollMousePos;
    const int width = viewport()->width();
    const int height = viewport()->height();
    int distance = 0;
    int direction = 0;
    if (at.x() < d_->scrollStartPos.x()) {
        distance = d_->scrollStartPos.x() - at.x();
        direction = -1;
    } else if (at.x() >= width) {
        distance = at.x() - width + 1;
        direction = 1;
    }
    if (direction != 0) {
        if (d_->options.testFlag(dgRowSelect)) {
            ScrollHorizontally(direction < 0 ? tk::TScrollCode::LineUp : tk::TScrollCode::LineDown);
        } else {
            MoveCol(Col() + direction, direction);
            if (d_->options.testFlag(dgMultiSelect) && ColsSelection() &&
                RawToDataColumn(Col()) >= SelectionOffset())
                SetSelectionEndCol(RawToDataColumn(Col()));
        }
    }
    // A vertical distance sets the pace when there is one.
    if (at.y() < d_->scrollStartPos.y()) {
        distance = d_->scrollStartPos.y() - at.y();
        ScrollToRowBy(-(distance / 5) - 1);
    } else if (at.y() >= height) {
        distance = at.y() - height + 1;
        ScrollToRowBy(distance / 5 + 1);
    }
    if (distance == 0) {
        d_->scrollTimer.reset();
        return;
    }
    if (!d_->scrollTimer)
        d_->scrollTimer = std::make_unique<tk::TSingleShotTimer>([this] { StartScrollTimer(); });
    d_->scrollTimer->Start(StepInterval(distance));
}

bool TKelCustomDBGrid::StopScrollTracking(int x, int y, bool scrollToPoint)
{
    if (!d_->scrollTracking)
        return false;
    d_->scrollTracking = false;
    d_->scrollTimer.reset();
    if (scrollToPoint)
        ScrollToCellAt(x, y, true);
    return true;
}

void TKelCustomDBGrid::TimedScroll(tk::TGridScrollDirections directions)
{
    if (LinkActiveNow()) {
        TKelGridDataLink& link = *d_->dataLink;
        if (directions.testFlag(tk::sdUp))
            link.MoveBy(-(link.ActiveRecord() + 1));
        if (directions.testFlag(tk::sdDown))
            link.MoveBy(link.RecordCount() - link.ActiveRecord());
    }
    directions &= ~tk::TGridScrollDirections(tk::sdUp | tk::sdDown);
    if (directions)
        tk::TCustomGrid::TimedScroll(directions);
}

void TKelCustomDBGrid::CancelMode()
{
    tk::TCustomGrid::CancelMode();
    if (d_)
        StopMouseTracking();
}

}  // namespace kelgrid
