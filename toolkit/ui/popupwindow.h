#pragma once
// TPopupWindow: the base of the drop-down windows an editor opens (pick
// list, lookup list, calculator, calendar), and PopupPlacement, where such a
// window goes on the screen.
//
// A popup is a top-level, stay-on-top, frameless window that is shown
// without being activated: the editor that opened it keeps the keyboard
// focus and forwards the keys the popup should see (ForwardKey). It is no
// Qt::Popup, which grabs keyboard and mouse. Its window type is Qt::ToolTip
// rather than Qt::Tool: some platforms (the offscreen one among them)
// activate a tool window when it is shown, whatever its flags ask, and a
// tool window cannot be placed by the program on every desktop; a
// tooltip-type window is never activated and goes where it is put. Neither
// the popup nor its children take the focus (their focus policy is NoFocus
// from the first show on).
//
// The window set-up and the watching live in TPopupBehaviour
// (popupbehaviour.h), which lists and grids that cannot derive from this
// class use too. While the popup is visible an application event filter
// watches
// - mouse presses: one outside the popup, its children (child windows
//   included) and the associated widget (the editor, with its children)
//   runs OutsideClick, which by default closes the popup without accepting.
//   The press still reaches the widget that was clicked. A press travelling
//   up the parents of the widget clicked counts once;
// - the associated widget hiding, and its window moving or hiding: the
//   popup closes without accepting.
// Cancel mode (BroadcastCancelMode: a menu, a modal window or a message box
// opening, the application being deactivated) closes it the same way.
//
// Closing: Close hides the popup and says nothing; CloseUp(accept) hides it
// and then runs DoCloseUp (OnCloseUp), where the editor reads the popup's
// choice and applies it. CloseUp on a hidden popup does nothing, so a close
// reported twice (cancel mode during a close-up) is handled once.

#include "toolkit/ui/control.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>

class QKeyEvent;

namespace tk {

class TPopupBehaviour;

// Where a popup of size goes when it drops down from anchor (both in screen
// coordinates) inside workArea:
// - vertically below the anchor; when that does not fit, above it; when
//   neither fits, flush with the work area's bottom. A popup taller than the
//   work area gets the work area's height;
// - horizontally left-aligned with the anchor (right-aligned when
//   rightToLeft); when that passes the work area's right (left) edge it is
//   aligned with the anchor's other side instead, and in every case kept
//   inside the work area as far as its width allows.
QRect PopupPlacement(const QRect& anchor, const QSize& size, const QRect& workArea, bool rightToLeft);

class TPopupWindow : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    // parent: usually the editor the popup belongs to (the popup is freed
    // with it); the popup is a window of its own all the same.
    explicit TPopupWindow(QWidget* parent = nullptr);
    ~TPopupWindow() override;

    // The widget whose presses (with its children's) are not outside
    // clicks; nullptr for none. Forgotten when that widget is freed.
    QWidget* Associate() const;
    void SetAssociate(QWidget* widget);

    // Shows the popup with its top-left at screenPos, as it is.
    void Popup(const QPoint& screenPos);
    // Shows the popup dropped down from anchor (screen coordinates) by
    // PopupPlacement in the work area of the screen holding the anchor,
    // right-to-left when the popup uses right-to-left alignment. The popup
    // keeps its size unless the work area is lower.
    void Popup(const QRect& anchor);
    bool IsPopupVisible() const { return isVisible(); }

    // Hides the popup; no close-up.
    void Close();
    // Hides the popup, then DoCloseUp(accept). Nothing when hidden.
    void CloseUp(bool accept);

    // Delivers a copy of a key event the editor received to the popup's key
    // receiver (its focus proxy, else the popup); returns whether the
    // receiver accepted it.
    bool ForwardKey(const QKeyEvent& event);

    // Cancel mode closes the popup without accepting.
    void CancelMode() override;

    // After the popup was hidden by CloseUp.
    std::function<void(QObject* sender, bool accept)> OnCloseUp;
    // A press outside the popup and the associated widget, on target; close
    // starts true, and the popup closes without accepting when the handler
    // leaves it so.
    std::function<void(QObject* sender, QWidget* target, bool& close)> OnOutsideClick;

protected:
    // Fires OnCloseUp.
    virtual void DoCloseUp(bool accept);
    // A press outside (see above): fires OnOutsideClick, then CloseUp(false)
    // unless the handler kept the popup open.
    virtual void OutsideClick(QWidget* target);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<TPopupBehaviour> behaviour_;
};

}  // namespace tk
