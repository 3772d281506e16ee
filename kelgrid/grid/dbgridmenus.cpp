// TKelCustomDBGrid: the menus the mouse opens. A right click chooses the
// menu by the area under the mouse: the corner's FillerPopupMenu, the
// indicator cells' IndicatorPopupMenu, a total part's, a column's or a
// column title's PopupMenu, and outside the cells the grid's own. The
// expand button of a cesDropDownMenu title and a click on the corner (with
// FillerIndex -7) drop their menu under the title.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/ui/popupmenu.h"

namespace kelgrid {

namespace {

// Watches a menu assigned to the grid: a destroyed menu is forgotten
// (Notification).
void ObserveMenu(TKelCustomDBGrid* grid, QPointer<tk::TPopupMenu>& field, tk::TPopupMenu* menu)
{
    if (field)
        field->RemoveFreeNotification(grid);
    field = menu;
    if (menu)
        menu->FreeNotification(static_cast<tk::TComponentCore*>(grid));
}

}  // namespace

tk::TPopupMenu* TKelCustomDBGrid::FillerPopupMenu() const
{
    return d_->fillerPopupMenu;
}

void TKelCustomDBGrid::SetFillerPopupMenu(tk::TPopupMenu* menu)
{
    if (menu != d_->fillerPopupMenu)
        ObserveMenu(this, d_->fillerPopupMenu, menu);
}

tk::TPopupMenu* TKelCustomDBGrid::IndicatorPopupMenu() const
{
    return d_->indicatorPopupMenu;
}

void TKelCustomDBGrid::SetIndicatorPopupMenu(tk::TPopupMenu* menu)
{
    if (menu != d_->indicatorPopupMenu)
        ObserveMenu(this, d_->indicatorPopupMenu, menu);
}

void TKelCustomDBGrid::CancelMouseModes()
{
    // What a menu opening ends: presses, sizing, moving, scrolling.
    CancelMode();
    HideEditor();
}

bool TKelCustomDBGrid::DropTitleMenu(const THit& hit, tk::TPopupMenu* menu)
{
    if (!menu)
        return false;
    const QRect title =
        hit.area == THitArea::Filler ? CellRect(hit.col, hit.row) : CalcTitleRect(hit.column, hit.row);
    if (title.isEmpty())
        return false;
    CancelMouseModes();
    menu->SetPopupComponent(this);
    const QPoint corner = menu->Alignment() == tk::paRight ? title.bottomRight() : title.bottomLeft();
    const QPoint at = viewport()->mapToGlobal(corner + QPoint(0, 1));
    return menu->Popup(at.x(), at.y());
}

void TKelCustomDBGrid::ExpandClick(TKelColumn* column)
{
    if (!column)
        return;
    switch (column->ExpandStyle()) {
    case cesAuto:
        column->SetExpanded(!column->Expanded());
        break;
    case cesNone:
        break;
    case cesDropDownMenu: {
        THit hit;
        hit.area = THitArea::Title;
        hit.column = column;
        hit.col = DataToRawColumn(column->Index());
        hit.row = std::min(column->Depth(), d_->titleOffset - 1);
        if (DropTitleMenu(hit, column->Title()->DropDownMenu()))
            break;
        if (OnExpandClick)
            OnExpandClick(this, column);
        break;
    }
    case cesDropDown:
        if (OnExpandClick)
            OnExpandClick(this, column);
        break;
    }
}

void TKelCustomDBGrid::FillerClick()
{
    if (d_->fillerPopupMenu && d_->fillerIndex == -7) {
        THit hit;
        hit.area = THitArea::Filler;
        hit.col = 0;
        hit.row = 0;
        DropTitleMenu(hit, d_->fillerPopupMenu);
        return;
    }
    if (OnFillerClick)
        OnFillerClick(this);
}

void TKelCustomDBGrid::DoContextPopup(const QPoint& mousePos, bool& handled)
{
    tk::TCustomGrid::DoContextPopup(mousePos, handled);
    // The menu key, or a click outside the cells: the grid's own menu.
    if (handled || mousePos == QPoint(-1, -1))
        return;
    const THit hit = HitAt(mousePos.x(), mousePos.y());
    tk::TPopupMenu* menu = nullptr;
    switch (hit.area) {
    case THitArea::Filler:
        menu = d_->fillerPopupMenu;
        break;
    case THitArea::Indicator:
        menu = d_->indicatorPopupMenu;
        break;
    case THitArea::Total:
        if (hit.column)
            if (TKelColumnTotal* part = hit.column->TotalRows(hit.totalRow))
                menu = part->PopupMenu();
        break;
    case THitArea::Data:
        menu = hit.column->PopupMenu();
        break;
    case THitArea::Title: {
        // A right press on a scrollable title moves it when right-button
        // moving is on; header rows have no menu of their own.
        const bool rightMoving = d_->options.testFlag(dgColumnResize) &&
                                 d_->options.testFlag(dgRightMoving) &&
                                 d_->resizeOptions.testFlag(roColumnMoving);
        if (hit.headerRow < 0 && !(rightMoving && hit.col >= tk::TCustomGrid::FixedCols()))
            menu = hit.column->Title()->PopupMenu();
        break;
    }
    default:
        break;
    }
    if (menu && menu->AutoPopup()) {
        CancelMouseModes();
        menu->SetPopupComponent(this);
        const QPoint at = ClientToScreen(mousePos);
        menu->Popup(at.x(), at.y());
        handled = true;
        return;
    }
    // The titles never show the grid's own menu.
    if (hit.area == THitArea::Title || hit.area == THitArea::Filler)
        handled = true;
}

}  // namespace kelgrid
