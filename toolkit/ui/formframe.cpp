// The window side of TForm: its frame (border style), its size limits
// (constraints and fixed frames) and where it appears (position).
#include "toolkit/ui/forms.h"

#include "toolkit/ui/sysinfo.h"

#include <algorithm>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tk {

namespace {

// rect of size centred on target, kept inside area where it fits.
QPoint CentredIn(const QSize& size, const QRect& target, const QRect& area)
{
    QRect placed(QPoint(), size);
    placed.moveCenter(target.center());
    if (area.isEmpty())
        return placed.topLeft();
    const int x = size.width() <= area.width()
                      ? std::clamp(placed.left(), area.left(), area.right() + 1 - size.width())
                      : area.left();
    const int y = size.height() <= area.height()
                      ? std::clamp(placed.top(), area.top(), area.bottom() + 1 - size.height())
                      : area.top();
    return QPoint(x, y);
}

}  // namespace

bool TForm::Sizeable() const
{
    return borderStyle_ == TFormBorderStyle::bsSizeable || borderStyle_ == TFormBorderStyle::bsSizeToolWin;
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    // New window flags re-create the native window, which would hide a
    // visible one (and end its modal loop): they wait for the next show.
    if (isVisible())
        flagsPending_ = true;
    else
        ApplyWindowFlags();
    ApplySizeLimits();
}

void TForm::ApplyWindowFlags()
{
    flagsPending_ = false;
    using enum TFormBorderStyle;
    const bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    Qt::WindowFlags flags = (tool ? Qt::Tool : Qt::Dialog) | (windowFlags() & Qt::WindowStaysOnTopHint);
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint;
        if (borderStyle_ == bsSingle)
            flags |= Qt::WindowMinimizeButtonHint;
        else if (borderStyle_ == bsSizeable)
            flags |= Qt::WindowMinMaxButtonsHint;
    }
    setWindowFlags(flags);
}

void TForm::ApplySizeLimits()
{
    const QSize size = constraints_->Constrain(this->size());
    if (!Sizeable()) {
        // The system lets nobody resize a window whose least and largest
        // sizes are equal.
        setFixedSize(size);
        return;
    }
    setMinimumSize(constraints_->MinWidth(), constraints_->MinHeight());
    setMaximumSize(constraints_->MaxWidth() > 0 ? constraints_->MaxWidth() : QWIDGETSIZE_MAX,
                   constraints_->MaxHeight() > 0 ? constraints_->MaxHeight() : QWIDGETSIZE_MAX);
    if (size != this->size())
        resize(size);
}

void TForm::SetConstraints(const TSizeConstraints* constraints)
{
    if (constraints && constraints != constraints_)
        constraints_->Assign(constraints);
}

void TForm::SetBounds(int left, int top, int width, int height)
{
    const QSize size = constraints_->Constrain(QSize(width, height));
    // A fixed frame holds its least and largest sizes at the current size.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    TControl::SetBounds(left, top, size.width(), size.height());
    ApplySizeLimits();
}

void TForm::SetClientSize(int width, int height)
{
    SetBounds(Left(), Top(), width, height);
}

QWidget* TForm::CentreWindow() const
{
    if (position_ == poOwnerFormCenter) {
        for (const TComponentCore* owner = Owner(); owner; owner = owner->Owner())
            if (auto* widget = qobject_cast<QWidget*>(owner->ComponentObject()))
                return widget->window();
        if (parentWidget())
            return parentWidget()->window();
    }
    QWidget* active = QApplication::activeWindow();
    return active && active != this ? active : nullptr;
}

void TForm::ApplyPosition()
{
    // The native window knows the frame's margins (where the system tells
    // them before the window shows), so the frame is what gets centred.
    if (position_ != poDesigned && !testAttribute(Qt::WA_WState_Created))
        create();
    const QSize size = frameGeometry().size();
    switch (position_) {
    case poScreenCenter: {
        const QWidget* active = QApplication::activeWindow();
        const QRect area = WorkAreaAt(active && active != this ? active->geometry().center() : QPoint());
        move(CentredIn(size, area, area));
        break;
    }
    case poDesktopCenter:
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(CentredIn(size, screen->availableVirtualGeometry(), screen->availableVirtualGeometry()));
        break;
    case poMainFormCenter:
    case poOwnerFormCenter:
        if (const QWidget* centre = CentreWindow()) {
            move(CentredIn(size, centre->frameGeometry(), WorkAreaAt(centre->frameGeometry().center())));
        } else {
            const QRect area = WorkAreaAt(QPoint());
            move(CentredIn(size, area, area));
        }
        break;
    default:
        break;
    }
}

void TForm::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        if (flagsPending_)
            ApplyWindowFlags();
        ApplyPosition();
    }
    QDialog::setVisible(visible);
}

}  // namespace tk
