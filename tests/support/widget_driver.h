#pragma once
// Drives a widget as a user would, with real Qt input events delivered
// through the application (so ignored events travel to the parents):
//
// - Mouse actions take a point in the target's coordinates and go to the
//   deepest visible child under it, in that child's coordinates; while a
//   button is held, moves and the release go to the widget that was
//   pressed, even outside it, as Qt's implicit grab does.
// - Leave tells the target's window that the mouse left it: a Leave event
//   goes to the target and each widget above it up to the window, as Qt
//   sends when the pointer leaves a window.
// - Keys go to the widget of the target's window that has the focus when it
//   lies inside the target, else to the target itself.
// - Type sends one key press and release per character with the character
//   as the event's text, so any character works (QTest::keyClicks asserts
//   on characters beyond Latin-1); characters outside the basic plane go as
//   one event carrying the surrogate pair.
// - A wheel notch is 120 units of angle; positive notches turn away from
//   the user (scroll up).
// - A context click is a right press, the context menu request the
//   platform derives from it (a menu opened there runs until it closes) and
//   the release; the menu key sends the keyboard's request to the key
//   receiver.

#include <QPoint>
#include <QPointer>
#include <QString>

class QWidget;

namespace tk::test {

class WidgetDriver {
public:
    explicit WidgetDriver(QWidget* target);

    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
    // Press, release, double click, release: the order Qt delivers.
    void DoubleClick(QPoint at, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers modifiers = {});
    void MouseDown(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
    // Moves with the buttons pressed since MouseDown held.
    void MouseMove(QPoint at, Qt::KeyboardModifiers modifiers = {});
    void MouseUp(QPoint at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers modifiers = {});
    void Wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers = {});
    void ContextClick(QPoint at, Qt::KeyboardModifiers modifiers = {});
    void MenuKey();

    // Press and release of a Qt key (Qt::Key_*), with the text the key types.
    void Press(int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = QString());
    void Type(const QString& text);

    void Leave();

private:
    QWidget* MouseReceiver(QPoint at, QPoint& local) const;
    QWidget* KeyReceiver() const;
    void SendMouse(int type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    QWidget* target_;
    Qt::MouseButtons held_;
    QPointer<QWidget> grabber_;  // the pressed widget while a button is held
};

}  // namespace tk::test
