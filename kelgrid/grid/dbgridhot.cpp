// TKelCustomDBGrid: what lights up under the mouse. Under dgTitleButtons a
// title that reacts as a button (its title's Button, its expand button,
// or the corner with FillerButton) becomes the hot button unless the mouse
// is on a sizing border or something is being tracked, sized or moved; a
// data cell of a column whose CanCellTrack is true becomes the hot cell.
// Leaving the window clears both. The expand button's place is the one
// the title painter gives it (titlepainter.cpp).

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/sysinfo.h"

namespace kelgrid {

QRect TKelCustomDBGrid::ExpandButtonRect(const THit& hit) const
{
    if (hit.area != THitArea::Title || !hit.column || hit.headerRow >= 0)
        return {};
    TKelColumn* title = hit.column;
    const QRect full = FullTitleRect(title, title->Depth());
    if (full.isEmpty())
        return {};
    // The caption area below the header rows, inside the cell's edges.
    QRect caption = full;
    if (d_->options.testFlag(dgTitleHeaders))
        for (int index = 0; index < title->Title()->HeaderRowCount(); ++index) {
            const QRect header = HeaderRect(title, index, full);
            if (!header.isEmpty())
                caption.setTop(header.bottom() + 1);
        }
    const bool bothLines = d_->options.testFlag(dgColLines) && d_->options.testFlag(dgRowLines);
    const QRect content = bothLines ? caption.adjusted(1, 1, -1, -1) : caption;
    const int size = tk::ScrollBarExtent();
    const TKelColumnExpandStyle style = title->ExpandStyle();
    const bool has = style == cesDropDown || style == cesDropDownMenu ||
                     (style == cesAuto && title->Expandable() && content.width() >= size);
    if (!has || content.width() < size)
        return {};
    return QRect(content.right() - size + 1, content.top(), size, content.height());
}

bool TKelCustomDBGrid::OnExpandButton(const THit& hit, int x, int y) const
{
    return ExpandButtonRect(hit).contains(x, y);
}

bool TKelCustomDBGrid::IsTitleButton(const THit& hit, int x, int y) const
{
    if (hit.area == THitArea::Filler)
        return d_->fillerButton;
    return hit.area == THitArea::Title && hit.headerRow < 0 &&
           (hit.column->Title()->Button() || OnExpandButton(hit, x, y));
}

QPoint TKelCustomDBGrid::HotButtonAt(const THit& hit, int x, int y) const
{
    // No hot button while a title, a cell or a scroll is tracked, during
    // sizing or moving, or on a border a press would size.
    if (!d_->options.testFlag(dgTitleButtons) || GridState() != tk::gsNormal || d_->pressedCell.x() >= 0 ||
        d_->cellTracking || d_->scrollTracking)
        return QPoint(-1, -1);
    tk::TGridState sizing = tk::gsNormal;
    int index = -1;
    if (const_cast<TKelCustomDBGrid*>(this)->SizingBorderAt(x, y, sizing, index))
        return QPoint(-1, -1);
    return IsTitleButton(hit, x, y) ? QPoint(hit.col, hit.row) : QPoint(-1, -1);
}

void TKelCustomDBGrid::SetHotCell(const QPoint& cell)
{
    if (cell == d_->hotCell && d_->fillerHot == (cell.x() == 0 && d_->indicatorOffset > 0))
        return;
    d_->hotCell = cell;
    d_->fillerHot = cell.x() >= 0 && cell.x() < d_->indicatorOffset;
    if (cell.x() < 0)
        d_->expandTracked = d_->pressedCell.x() >= 0 && d_->expandTracked;
    if (d_->options.testFlag(dgHotButtons))
        InvalidateTitles();
}

void TKelCustomDBGrid::SetExpandTracked(bool on)
{
    // The hot part of a hot title: its expand button or the whole title.
    if (on == d_->expandTracked || d_->pressedCell.x() >= 0)
        return;
    d_->expandTracked = on;
    if (d_->options.testFlag(dgHotButtons))
        InvalidateTitles();
}

void TKelCustomDBGrid::SetHotDataCell(const QPoint& cell)
{
    if (cell == d_->hotDataCell)
        return;
    const QPoint old = d_->hotDataCell;
    d_->hotDataCell = cell;
    // Only themed check boxes look different when hot.
    if (!IsGridThemed())
        return;
    if (old.x() >= 0)
        InvalidateCell(old.x(), old.y());
    if (cell.x() >= 0)
        InvalidateCell(cell.x(), cell.y());
}

void TKelCustomDBGrid::leaveEvent(QEvent* event)
{
    tk::TCustomGrid::leaveEvent(event);
    tk::Guarded([this] {
        SetHotCell(QPoint(-1, -1));
        SetExpandTracked(false);
        SetHotDataCell(QPoint(-1, -1));
    });
}

}  // namespace kelgrid
