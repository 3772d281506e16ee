#include "toolkit/ui/popupwindow.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/popupbehaviour.h"
#include "toolkit/ui/sysinfo.h"

#include <QKeyEvent>
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

TPopupWindow::TPopupWindow(QWidget* parent)
    : QWidget(parent), TControl(this), behaviour_(std::make_unique<TPopupBehaviour>(this))
{
    // The behaviour's reactions may free the popup; they are its last step.
    behaviour_->OnOutsidePress = [this](QWidget* target) { OutsideClick(target); };
    behaviour_->OnAssociateLost = [this] { CloseUp(false); };
}

TPopupWindow::~TPopupWindow()
{
    Destroying();
}

QWidget* TPopupWindow::Associate() const
{
    return behaviour_->Associate();
}

void TPopupWindow::SetAssociate(QWidget* widget)
{
    behaviour_->SetAssociate(widget);
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
    return ForwardKeyTo(focusProxy() ? focusProxy() : this, event);
}

void TPopupWindow::CancelMode()
{
    TControl::CancelMode();
    CloseUp(false);
}

void TPopupWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Guarded([this] { behaviour_->Shown(); });
}

void TPopupWindow::hideEvent(QHideEvent* event)
{
    Guarded([this] { behaviour_->Hidden(); });
    QWidget::hideEvent(event);
}

}  // namespace tk
