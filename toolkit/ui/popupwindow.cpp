#include "toolkit/ui/popupwindow.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

namespace tk {

QRect PopupPlacement(const QRect& anchor, const QSize& size, const QRect& workArea, bool rightToLeft)
{
    const int width = size.width();
    const int height = std::min(size.height(), workArea.height());
    const int workRight = workArea.x() + workArea.width();
    const int workBottom = workArea.y() + workArea.height();
    const int anchorRight = anchor.x() + anchor.width();
    const int anchorBottom = anchor.y() + anchor.height();

    int x = rightToLeft ? anchorRight - width : anchor.x();
    if (!rightToLeft && x + width > workRight)
        x = anchorRight - width;
    else if (rightToLeft && x < workArea.x())
        x = anchor.x();
    // Inside the work area; a popup wider than it keeps its left edge in.
    x = std::max(std::min(x, workRight - width), workArea.x());

    int y = anchorBottom;
    if (y + height > workBottom)
        y = anchor.y() - height >= workArea.y() ? anchor.y() - height : workBottom - height;
    return QRect(x, y, width, height);
}

// The application event filter of a visible popup. Entered from Qt, so
// everything it starts runs guarded; the reaction is the last thing it
// does, since a handler may free the popup.
class TPopupWindow::Watcher : public QObject {
public:
    explicit Watcher(TPopupWindow* popup) : popup_(popup) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched->isWidgetType())
            Guarded([&] { React(static_cast<QWidget*>(watched), event); });
        return false;
    }

    void Reset() { pressPending_ = false; }

private:
    void React(QWidget* watched, QEvent* event)
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonDblClick:
            ReactToPress(watched, *static_cast<QMouseEvent*>(event));
            return;
        case QEvent::MouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonRelease:
            pressPending_ = false;
            return;
        case QEvent::Move:
        case QEvent::Hide:
            ReactToAssociate(watched, event->type());
            return;
        default:
            return;
        }
    }

    void ReactToPress(QWidget* watched, const QMouseEvent& press)
    {
        // A press the receiver ignores is offered to its parents, each time
        // through this filter; it is one press until a release is seen.
        const Press seen{press.type(), press.globalPosition().toPoint(), press.button()};
        if (pressPending_ && seen == lastPress_)
            return;
        pressPending_ = true;
        lastPress_ = seen;
        if (!popup_->IsInside(watched))
            popup_->OutsideClick(watched);
    }

    void ReactToAssociate(QWidget* watched, QEvent::Type type)
    {
        const QWidget* associate = popup_->associate_;
        if (!associate)
            return;
        const bool associateHidden = watched == associate && type == QEvent::Hide;
        if (associateHidden || watched == associate->window())
            popup_->CloseUp(false);
    }

    struct Press {
        QEvent::Type type;
        QPoint globalPos;
        Qt::MouseButton button;
        bool operator==(const Press&) const = default;
    };

    TPopupWindow* popup_;
    bool pressPending_ = false;
    Press lastPress_{QEvent::None, QPoint(), Qt::NoButton};
};

TPopupWindow::TPopupWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      TControl(this), watcher_(std::make_unique<Watcher>(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

TPopupWindow::~TPopupWindow()
{
    Destroying();
    qApp->removeEventFilter(watcher_.get());
}

bool TPopupWindow::IsInside(const QWidget* widget) const
{
    // Across windows: a child window of the popup is part of it.
    for (const QWidget* w = widget; w; w = w->parentWidget())
        if (w == this || (associate_ && w == associate_))
            return true;
    return false;
}

void TPopupWindow::Popup(const QPoint& screenPos)
{
    move(screenPos);
    show();
}

void TPopupWindow::Popup(const QRect& anchor)
{
    const QRect placed =
        PopupPlacement(anchor, size(), WorkAreaAt(anchor.topLeft()), UseRightToLeftAlignment());
    resize(placed.size());
    Popup(placed.topLeft());
}

void TPopupWindow::Close()
{
    hide();
}

void TPopupWindow::CloseUp(bool accept)
{
    if (!isVisible())
        return;
    Close();
    DoCloseUp(accept);
}

void TPopupWindow::DoCloseUp(bool accept)
{
    if (OnCloseUp)
        OnCloseUp(this, accept);
}

void TPopupWindow::OutsideClick(QWidget* target)
{
    bool close = true;
    if (OnOutsideClick) {
        const QPointer<TPopupWindow> alive(this);  // the handler may free the popup
        OnOutsideClick(this, target, close);
        if (!alive)
            return;
    }
    if (close)
        CloseUp(false);
}

bool TPopupWindow::ForwardKey(const QKeyEvent& event)
{
    QWidget* receiver = focusProxy() ? focusProxy() : this;
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                   event.nativeVirtualKey(), event.nativeModifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<quint16>(event.count()));
    QApplication::sendEvent(receiver, &copy);
    return copy.isAccepted();
}

void TPopupWindow::CancelMode()
{
    TControl::CancelMode();
    CloseUp(false);
}

void TPopupWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Guarded([this] {
        for (QWidget* child : findChildren<QWidget*>())
            child->setFocusPolicy(Qt::NoFocus);
        watcher_->Reset();
        qApp->installEventFilter(watcher_.get());
    });
}

void TPopupWindow::hideEvent(QHideEvent* event)
{
    // Safe inside the watcher's own filter call: Qt allows removing a filter
    // while it runs.
    Guarded([this] { qApp->removeEventFilter(watcher_.get()); });
    QWidget::hideEvent(event);
}

}  // namespace tk
