#pragma once
// TPopupBehaviour: what makes a top-level widget a drop-down popup of an
// editor, for widgets that cannot derive from TPopupWindow (a list box, a
// grid). TPopupWindow uses it too.
//
// Set-up (PreparePopupWidget, run by the constructor): the widget becomes a
// top-level, stay-on-top, frameless window of the tooltip type that is shown
// without being activated and takes no focus (see popupwindow.h for why a
// tooltip-type window). The widget keeps its parent, which owns it.
//
// The host calls Shown() from its showEvent and Hidden() from its
// hideEvent. While shown, an application event filter watches
// - mouse presses: one outside the popup, its children (child windows
//   included) and the associated widget (the editor, with its children)
//   calls OnOutsidePress(target). A press travelling up the parents of the
//   widget clicked counts once; the press still reaches what was clicked;
// - the associated widget hiding, and its window moving or hiding: calls
//   OnAssociateLost;
// - left-button moves and the left release delivered to the associated
//   widget (a drag that began on the editor, held by Qt's implicit grab):
//   calls OnAssociateDrag(global position, released), so a list can follow
//   the pointer and take a release over it.
// Every reaction runs guarded (no exception reaches Qt) and is the last thing
// the filter does, since a handler may free the popup.

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace tk {

// Makes widget a non-activating, focus-less, stay-on-top tooltip-type window.
void PreparePopupWidget(QWidget* widget);

// Delivers a copy of a key event (one the editor received) to receiver;
// returns whether the receiver accepted it.
bool ForwardKeyTo(QWidget* receiver, const QKeyEvent& event);

class TPopupBehaviour : public QObject {
public:
    // popup: the widget made a popup; it must outlive nothing here (the
    // behaviour is normally owned by it).
    explicit TPopupBehaviour(QWidget* popup);
    ~TPopupBehaviour() override;

    QWidget* Associate() const { return associate_; }
    void SetAssociate(QWidget* widget) { associate_ = widget; }

    // From the popup's showEvent: children lose the focus policy, the
    // watching starts. From its hideEvent: the watching stops.
    void Shown();
    void Hidden();

    // Shows the popup with its top-left at screenPos.
    void Popup(const QPoint& screenPos);
    // Hides the popup, then handler(popup, accept); nothing when hidden, so a
    // close reported twice is handled once.
    void CloseUp(bool accept, const std::function<void(QObject* sender, bool accept)>& handler);
    // A key the editor forwards to a list: Enter runs closeUp(true), Escape
    // closeUp(false); others go to the popup. Returns whether it was taken.
    bool ForwardListKey(const QKeyEvent& event, const std::function<void(bool accept)>& closeUp);

    // True for the popup, its children and child windows, and the associated
    // widget with its children.
    bool IsInside(const QWidget* widget) const;

    std::function<void(QWidget* target)> OnOutsidePress;
    std::function<void()> OnAssociateLost;
    std::function<void(const QPoint& globalPos, bool released)> OnAssociateDrag;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void React(QWidget* watched, QEvent* event);
    void ReactToPress(QWidget* watched, const QMouseEvent& press);
    void ReactToAssociate(QWidget* watched, QEvent::Type type);
    void ReactToAssociateMouse(QWidget* watched, const QMouseEvent& event);

    struct Press {
        QEvent::Type type;
        QPoint globalPos;
        Qt::MouseButton button;
        bool operator==(const Press&) const = default;
    };

    QWidget* popup_;
    QPointer<QWidget> associate_;
    bool watching_ = false;
    bool pressPending_ = false;
    Press lastPress_{QEvent::None, QPoint(), Qt::NoButton};
};

}  // namespace tk
