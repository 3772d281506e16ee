#pragma once
// TPopupMenu: the context menu component a control names in its PopupMenu
// property, and that the grid drops down from its buttons.
//
// Popup(x, y) shows the visible items of Items at a screen point and returns
// when the menu has closed, after the chosen item's Click ran, as the
// platform's menus do. The menu shown is built afresh from the items on
// every Popup, so what OnPopup changes is what the user sees; invisible
// items are left out, disabled ones are shown and cannot be chosen, an item
// with visible sub-items opens a sub-menu.
//
// Exceptions: OnPopup runs from Popup and its exception reaches Popup's
// caller (no menu is shown then). The chosen item's Click runs after the
// menu closed; it stands for the platform's menu command, which arrives
// through the event loop, so its exception goes to the application's
// handler and Popup returns normally.
//
// Who showed it: the code that pops the menu up sets PopupComponent (a
// control's right click sets the control). The menu observes that
// component and forgets it when it is freed; Images likewise.

#include "toolkit/core/component.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/menuitem.h"

#include <QPoint>

namespace tk {

struct TMenuEnums {
    Q_GADGET

public:
    // Where the menu stands relative to the popup point: its left edge, its
    // right edge or its centre there.
    enum TPopupAlignment { paLeft, paRight, paCenter };
    Q_ENUM(TPopupAlignment)
};

using TPopupAlignment = TMenuEnums::TPopupAlignment;
using enum TMenuEnums::TPopupAlignment;

class TPopupMenu : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)
    Q_PROPERTY(tk::TMenuEnums::TPopupAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TImageList* Images READ Images WRITE SetImages)
    Q_CLASSINFO("Default:AutoPopup", "True")
    Q_CLASSINFO("Default:Alignment", "paLeft")
public:
    Q_INVOKABLE explicit TPopupMenu(QObject* owner = nullptr);
    ~TPopupMenu() override;

    // The root item: its sub-items are the menu's entries. Owned by the menu.
    TMenuItem* Items() const { return items_; }

    // A control's right click pops the menu up only when this is on.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool on) { autoPopup_ = on; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment alignment) { alignment_ = alignment; }
    // Images shown beside the items by ImageIndex; nullptr for none.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    // The component the menu was popped up for; nullptr when none or freed.
    TComponentCore* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponentCore* component);
    // The screen point of the last Popup.
    QPoint PopupPoint() const { return popupPoint_; }

    // Runs DoPopup (OnPopup), then shows the menu at the screen point (x, y)
    // by Alignment, mirrored when PopupComponent is a control with
    // right-to-left alignment, and waits until it closes; the chosen item's
    // Click runs before Popup returns. Cancel mode is broadcast first, ending
    // the mouse modes of every control and closing popup windows. Returns
    // whether a menu was shown: false, with nothing else done, when no item
    // is visible (separators do not count).
    bool Popup(int x, int y);

    // Before the menu is built, so handlers can adjust the items.
    TNotifyEvent OnPopup;

protected:
    // Fires OnPopup.
    virtual void DoPopup();
    void Notification(TComponentCore* component, TOperation operation) override;

private:
    TMenuItem* items_;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TImageList* images_ = nullptr;
    TComponentCore* popupComponent_ = nullptr;
    QPoint popupPoint_;
};

}  // namespace tk
