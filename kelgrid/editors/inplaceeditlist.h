#pragma once
// TKelInplaceEditList: the grid's single-line cell editor with an optional
// button at its right edge (left in right-to-left layout) and the popup the
// button opens below (or above) the cell.
//
// Edit styles: esSimple (no button), esEllipsis (three dots; a click is
// ButtonClick), esPickList (a drop-down arrow opening the active popup),
// esDropDown (a drop-down arrow whose click is ButtonClick). The text keeps
// out of the button's rectangle.
//
// Keys, while a button style is active (ListKeys; with the popup open the
// keys it does not use go to the popup):
//   Tab            closes an open popup without accepting, then moves on;
//   Ctrl+Enter     closes an open popup accepting it, else opens it;
//   Enter, Esc     close an open popup, accepting it (Enter) or not;
//   Alt+Up/Down    close an open popup accepting it, else open it;
//   F2             opens the popup, or closes an open one (PopupClosed when
//                  the descendant says the popup closes as a choice);
// in esEllipsis and esDropDown, Ctrl+Enter and F2 are a button click.
//
// Mouse: a press on the button closes an open popup; otherwise it tracks
// the button (pressed while the mouse stays on it) and opens the popup;
// dragging from the button into the open popup hands the press over to
// it, so that releasing there chooses. A release on an esEllipsis or
// esDropDown button is a click. The wheel over an open popup goes to it.
//
// Opening (OpenList): the popup goes below the cell, above it when it does
// not fit, flush with the work area's bottom when neither fits, shown
// without taking the focus; it may grow from one row to its height in
// steps of ListDropDownDelay milliseconds. The animation lets events run
// between the steps; it stops as soon as the popup closes or the popup, the
// editor or the grid goes away.
//
// Closing: CloseList(accept) hides the popup; descendants take the chosen
// value there. A popup closing itself (a click on a choice, Esc inside it)
// reports through PopupClosed. Losing the focus, cancel mode and the editor
// hiding close the popup without accepting.

#include "kelgrid/grid/gridenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QPointer>
#include <functional>
#include <memory>

namespace kelgrid {

class TKelCustomDBGrid;
class TKelEditorPopup;

class KELGRID_EXPORT TKelInplaceEditList : public tk::TInplaceEdit {
    Q_OBJECT
public:
    explicit TKelInplaceEditList(TKelCustomDBGrid* grid);
    ~TKelInplaceEditList() override;

    TKelCustomDBGrid* DBGrid() const;

    TKelEditStyle EditStyle() const { return editStyle_; }
    void SetEditStyle(TKelEditStyle style);
    // The button's width (the system's vertical scroll bar width) and
    // rectangle (empty for esSimple).
    int ButtonWidth() const { return buttonWidth_; }
    QRect ButtonRect() const;
    bool ButtonPressed() const { return pressed_; }
    bool MouseInControl() const { return mouseInControl_; }

    // The popup the button opens, nullptr for none.
    TKelEditorPopup* ActiveList() const { return activeList_; }
    bool PopupVisible() const { return popupVisible_; }

    virtual void OpenList();
    virtual void CloseList(bool accept);
    virtual void ButtonClick();
    // A popup closed itself: CloseList(accept), then, when accepted and the
    // descendant asks for it (AutoCloseEditor), an Enter ends the editing.
    void PopupClosed(bool accept);

    // Runs by the button, instead of anything else, when assigned.
    std::function<void(TKelCustomDBGrid*)> OnButtonClick;

protected:
    void SetActiveList(TKelEditorPopup* list) { activeList_ = list; }
    // Before the popup shows: its size and, for the animation, its row
    // height (0: no animation) and least height. The base gives the
    // popup's current size and no animation.
    struct TListGeometry {
        QSize size;
        int rowHeight = 0;
        int minHeight = 0;
        bool ownerDrawnList = false;  // opens upward one pixel lower
    };
    virtual TListGeometry PrepareList();
    // Whether the open popup takes the wheel (the lists do).
    virtual bool ListTakesWheel() const { return false; }
    // Whether an accepted close ends the editing (posting an Enter).
    virtual bool AutoCloseEditor() const { return false; }
    // F2 on an open popup closes it as a choice (through PopupClosed).
    virtual bool F2ClosesAsChoice() const { return false; }
    // The button's paint and the look's switches.
    virtual bool Themed() const;
    virtual bool Flat() const;

    // Key table; true when the key was used.
    virtual bool ListKeys(int& key, tk::TShiftState shift);
    void KeyDown(int& key, tk::TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void DblClick() override;
    void BoundsChanged() override;
    void PaintWindow(tk::TCanvas& canvas) override;
    // The opening animation is still growing the popup.
    bool Animating() const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Sends the editor a key press of key (posted: it arrives after the
    // current event).
    void PostKey(int qtKey);

private:
    struct TAnimation;

    void PaintButton(tk::TCanvas& canvas, const QRect& rect);
    void StopTracking();
    void TrackButton(const QPoint& pos);
    void ForwardToHandover(QMouseEvent* event);
    bool OverButton(const QPoint& pos) const;
    // Offers the key being handled to the open popup; whether it took it.
    bool OfferKeyToPopup();
    void AnimationStep();
    void FinishOpening();

    TKelEditStyle editStyle_ = esSimple;
    int buttonWidth_ = 0;
    TKelEditorPopup* activeList_ = nullptr;
    bool popupVisible_ = false;
    bool pressed_ = false;
    bool tracking_ = false;
    bool mouseInControl_ = false;
    bool mouseOverButton_ = false;
    std::unique_ptr<TAnimation> animation_;
    QKeyEvent* currentKey_ = nullptr;  // the key event being handled
    bool keyOffered_ = false;          // currentKey_ was offered to the popup
    QPointer<QWidget> handover_;        // the popup's widget a drag from the button went into
};

}  // namespace kelgrid
