#include "tests/support/widget_driver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace tk::test {

WidgetDriver::WidgetDriver(QWidget* target) : target_(target)
{
    Q_ASSERT(target_);
}

QWidget* WidgetDriver::MouseReceiver(QPoint at, QPoint& local) const
{
    QWidget* child = target_->childAt(at);
    QWidget* receiver = child ? child : target_;
    local = receiver->mapFrom(target_, at);
    return receiver;
}

QWidget* WidgetDriver::KeyReceiver() const
{
    QWidget* focus = target_->window()->focusWidget();
    return focus && (focus == target_ || target_->isAncestorOf(focus)) ? focus : target_;
}

void WidgetDriver::SendMouse(int type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    QPoint local;
    QWidget* receiver = nullptr;
    if (grabber_ && type != QEvent::MouseButtonPress) {
        // While a button is held the pressed widget gets every move and the
        // release, wherever the mouse is (Qt's implicit grab).
        receiver = grabber_;
        local = receiver->mapFrom(target_, at);
    } else {
        receiver = MouseReceiver(at, local);
    }
    if (type == QEvent::MouseButtonPress && !grabber_)
        grabber_ = receiver;
    if (held_ == Qt::NoButton)
        grabber_ = nullptr;
    QMouseEvent event(static_cast<QEvent::Type>(type), QPointF(local), QPointF(receiver->mapToGlobal(local)),
                      button, held_, modifiers);
    QApplication::sendEvent(receiver, &event);
}

void WidgetDriver::Click(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    MouseDown(at, button, modifiers);
    MouseUp(at, button, modifiers);
}

void WidgetDriver::DoubleClick(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    Click(at, button, modifiers);
    held_ |= button;
    SendMouse(QEvent::MouseButtonDblClick, at, button, modifiers);
    MouseUp(at, button, modifiers);
}

void WidgetDriver::MouseDown(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    held_ |= button;  // a press event lists the pressed button among the held ones
    SendMouse(QEvent::MouseButtonPress, at, button, modifiers);
}

void WidgetDriver::MouseMove(QPoint at, Qt::KeyboardModifiers modifiers)
{
    SendMouse(QEvent::MouseMove, at, Qt::NoButton, modifiers);
}

void WidgetDriver::MouseUp(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    held_ &= ~Qt::MouseButtons(button);  // a release no longer lists it
    SendMouse(QEvent::MouseButtonRelease, at, button, modifiers);
}

void WidgetDriver::Leave()
{
    for (QWidget* w = target_; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
}

void WidgetDriver::Wheel(QPoint at, int notches, Qt::KeyboardModifiers modifiers)
{
    QPoint local;
    QWidget* receiver = MouseReceiver(at, local);
    QWheelEvent event(QPointF(local), QPointF(receiver->mapToGlobal(local)), QPoint(),
                      QPoint(0, 120 * notches), held_, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(receiver, &event);
}

void WidgetDriver::ContextClick(QPoint at, Qt::KeyboardModifiers modifiers)
{
    MouseDown(at, Qt::RightButton, modifiers);
    QPoint local;
    QWidget* receiver = MouseReceiver(at, local);
    QContextMenuEvent request(QContextMenuEvent::Mouse, local, receiver->mapToGlobal(local), modifiers);
    QApplication::sendEvent(receiver, &request);
    MouseUp(at, Qt::RightButton, modifiers);
}

void WidgetDriver::MenuKey()
{
    QWidget* receiver = KeyReceiver();
    const QPoint centre = receiver->rect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, receiver->mapToGlobal(centre));
    QApplication::sendEvent(receiver, &request);
}

void WidgetDriver::Press(int key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QWidget* receiver = KeyReceiver();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(receiver, &release);
}

void WidgetDriver::Type(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const QString character = text.mid(i, pair ? 2 : 1);
        const char32_t code = character.toUcs4().value(0);
        // The key of a character is its upper-case code point, as X11 reports
        // it; Shift goes with an upper-case letter as the user would hold it.
        const char32_t upper = QChar::toUpper(code);
        const Qt::KeyboardModifiers modifiers =
            upper == code && QChar::toLower(code) != code ? Qt::ShiftModifier : Qt::NoModifier;
        Press(static_cast<int>(upper), modifiers, character);
        if (pair)
            ++i;
    }
}

}  // namespace tk::test
