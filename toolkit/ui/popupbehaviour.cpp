#include "toolkit/ui/popupbehaviour.h"

#include "toolkit/core/application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

namespace tk {

void PreparePopupWidget(QWidget* widget)
{
    Q_ASSERT(widget);
    widget->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus);
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
    widget->setFocusPolicy(Qt::NoFocus);
    // Never activated, the popup would paint in the inactive colours (grey
    // text on several styles) although it belongs to the active window of
    // its editor: it takes the active colours for both groups.
    QPalette palette = widget->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colorRole = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Inactive, colorRole, palette.color(QPalette::Active, colorRole));
    }
    widget->setPalette(palette);
}

bool ForwardKeyTo(QWidget* receiver, const QKeyEvent& event)
{
    Q_ASSERT(receiver);
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                   event.nativeVirtualKey(), event.nativeModifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<quint16>(event.count()));
    QApplication::sendEvent(receiver, &copy);
    return copy.isAccepted();
}

TPopupBehaviour::TPopupBehaviour(QWidget* popup) : QObject(nullptr), popup_(popup)
{
    Q_ASSERT(popup_);
    PreparePopupWidget(popup_);
}

TPopupBehaviour::~TPopupBehaviour()
{
    if (watching_ && qApp)
        qApp->removeEventFilter(this);
}

void TPopupBehaviour::Shown()
{
    for (QWidget* child : popup_->findChildren<QWidget*>())
        child->setFocusPolicy(Qt::NoFocus);
    pressPending_ = false;
    if (!watching_) {
        qApp->installEventFilter(this);
        watching_ = true;
    }
}

void TPopupBehaviour::Hidden()
{
    // Safe inside this filter's own call: Qt allows removing a filter while
    // it runs.
    if (watching_) {
        qApp->removeEventFilter(this);
        watching_ = false;
    }
}

void TPopupBehaviour::Popup(const QPoint& screenPos)
{
    popup_->move(screenPos);
    popup_->show();
}

void TPopupBehaviour::CloseUp(bool accept, const std::function<void(QObject*, bool)>& handler)
{
    if (!popup_->isVisible())
        return;
    popup_->hide();
    if (handler)
        handler(popup_, accept);
}

bool TPopupBehaviour::ForwardListKey(const QKeyEvent& event, const std::function<void(bool)>& closeUp)
{
    if (event.type() == QEvent::KeyPress) {
        switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            closeUp(true);
            return true;
        case Qt::Key_Escape:
            closeUp(false);
            return true;
        default:
            break;
        }
    }
    return ForwardKeyTo(popup_, event);
}

bool TPopupBehaviour::IsInside(const QWidget* widget) const
{
    // Across windows: a child window of the popup is part of it.
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == popup_ || (associate_ && w == associate_))
            return true;
    return false;
}

bool TPopupBehaviour::eventFilter(QObject* watched, QEvent* event)
{
    if (watched->isWidgetType())
        Guarded([&] { React(static_cast<QWidget*>(watched), event); });
    return false;
}

void TPopupBehaviour::React(QWidget* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        ReactToPress(watched, *static_cast<QMouseEvent*>(event));
        return;
    case QEvent::MouseButtonRelease:
        pressPending_ = false;
        ReactToAssociateMouse(watched, *static_cast<QMouseEvent*>(event));
        return;
    case QEvent::NonClientAreaMouseButtonRelease:
        pressPending_ = false;
        return;
    case QEvent::MouseMove:
        ReactToAssociateMouse(watched, *static_cast<QMouseEvent*>(event));
        return;
    case QEvent::Move:
    case QEvent::Hide:
        ReactToAssociate(watched, event->type());
        return;
    default:
        return;
    }
}

void TPopupBehaviour::ReactToPress(QWidget* watched, const QMouseEvent& press)
{
    // A press the receiver ignores is offered to its parents, each time
    // through this filter; it is one press until a release is seen.
    const Press seen{press.type(), press.globalPosition().toPoint(), press.button()};
    if (pressPending_ && seen == lastPress_)
        return;
    pressPending_ = true;
    lastPress_ = seen;
    if (!IsInside(watched) && OnOutsidePress)
        OnOutsidePress(watched);
}

void TPopupBehaviour::ReactToAssociate(QWidget* watched, QEvent::Type type)
{
    const QWidget* associate = associate_;
    if (!associate || !OnAssociateLost)
        return;
    const bool associateHidden = watched == associate && type == QEvent::Hide;
    if (associateHidden || watched == associate->window())
        OnAssociateLost();
}

void TPopupBehaviour::ReactToAssociateMouse(QWidget* watched, const QMouseEvent& event)
{
    if (!associate_ || !OnAssociateDrag || watched != associate_)
        return;
    const bool released = event.type() == QEvent::MouseButtonRelease;
    if (released ? event.button() != Qt::LeftButton : !(event.buttons() & Qt::LeftButton))
        return;
    OnAssociateDrag(event.globalPosition().toPoint(), released);
}

}  // namespace tk
