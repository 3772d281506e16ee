// The control base's context menu: a request from the event filter runs
// DoContextPopup and then pops up the control's (or the nearest parent's)
// popup menu.
#include "toolkit/ui/control.h"

#include <QRect>
#include <QWidget>

namespace tk {

bool TControl::ContextPopup(const QPoint& globalPos, bool byKeyboard)
{
    QPoint mousePos(-1, -1);
    if (!byKeyboard) {
        mousePos = ScreenToClient(globalPos);
        // On a frame or a scroll bar the widget keeps its own reaction.
        if (!QRect(0, 0, ClientWidth(), ClientHeight()).contains(mousePos))
            return false;
    }
    bool handled = false;
    DoContextPopup(mousePos, handled);
    if (handled)
        return true;
    TPopupMenu* menu = GetPopupMenu();
    if (!menu || !menu->AutoPopup())
        return false;
    menu->SetPopupComponent(this);
    const QPoint at = byKeyboard ? ClientToScreen(QPoint(0, 0)) : globalPos;
    // Answered even when the menu has nothing visible to show: the control
    // has a menu, so the widget's own menu stays away.
    menu->Popup(at.x(), at.y());
    return true;
}

void TControl::DoContextPopup(const QPoint& mousePos, bool& handled)
{
    if (OnContextPopup)
        OnContextPopup(widget_, mousePos, handled);
}

}  // namespace tk
