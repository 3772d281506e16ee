#include "toolkit/ui/control.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/ui/cursors.h"
#include "toolkit/ui/forms.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPalette>
#include <QScopedValueRollback>
#include <QWidget>

namespace tk {

namespace {

bool SameFont(const TFont* a, const TFont* b)
{
    const QMetaObject* meta = a->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.read(a) != property.read(b))
            return false;
    }
    return true;
}

}  // namespace

TControl* ControlOf(const QObject* widget)
{
    return dynamic_cast<TControl*>(CoreOf(widget));
}

TControl* TControl::ParentControl() const
{
    for (QWidget* w = widget_->parentWidget(); w; w = w->parentWidget())
        if (TControl* control = ControlOf(w))
            return control;
    return nullptr;
}

TForm* TControl::GetParentForm() const
{
    return qobject_cast<TForm*>(widget_->window());
}

void TControl::ForEachChildControl(const std::function<void(TControl*)>& visit) const
{
    QList<QWidget*> pending = widget_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < pending.size(); ++i) {
        if (pending[i]->isWindow())
            continue;
        if (TControl* control = ControlOf(pending[i]))
            visit(control);
        else
            pending.append(pending[i]->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    }
}

void TControl::AdoptParentValues()
{
    if (!ParentControl())
        return;
    ParentFontChanged();
    ParentColorChanged();
    ParentCtl3DChanged();
    ParentBiDiModeChanged();
}

// --- Colour and font ----------------------------------------------------------

void TControl::SetColor(TColor color)
{
    parentColor_ = false;
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::SetParentColor(bool parentColor)
{
    if (parentColor == parentColor_)
        return;
    parentColor_ = parentColor;
    if (parentColor)
        ParentColorChanged();
}

void TControl::ColorChanged()
{
    ApplyColor();
    ForEachChildControl([](TControl* child) { child->ParentColorChanged(); });
}

void TControl::ParentColorChanged()
{
    TControl* parent = ParentControl();
    if (!parentColor_ || !parent || parent->color_ == color_)
        return;
    color_ = parent->color_;
    ColorChanged();
}

void TControl::ApplyColor()
{
    QPalette palette = widget_->palette();
    const QColor background = ColorToQColor(color_);
    if (background.isValid())
        palette.setColor(QPalette::Window, background);
    else
        palette.setColor(QPalette::Window, QApplication::palette(widget_).color(QPalette::Window));
    widget_->setAutoFillBackground(background.isValid() && !parentBackground_);
    widget_->setPalette(palette);
}

void TControl::SetParentBackground(bool on)
{
    if (on == parentBackground_)
        return;
    parentBackground_ = on;
    ApplyColor();
}

void TControl::SetFont(const TFont* font)
{
    if (font && font != font_)
        font_->Assign(font);
}

void TControl::SetParentFont(bool parentFont)
{
    if (parentFont == parentFont_)
        return;
    parentFont_ = parentFont;
    if (parentFont)
        ParentFontChanged();
}

bool TControl::IsFontStored() const
{
    if (parentFont_)
        return false;
    const TControl* parent = ParentControl();
    return !parent || !SameFont(font_, parent->font_);
}

void TControl::FontChanged()
{
    ApplyFont();
    ForEachChildControl([](TControl* child) { child->ParentFontChanged(); });
}

void TControl::ParentFontChanged()
{
    TControl* parent = ParentControl();
    if (!parentFont_ || !parent)
        return;
    // Assign fires OnChange (and so FontChanged) once the copy differs.
    const QScopedValueRollback adopting(adoptingFont_, true);
    font_->Assign(parent->font_);
}

void TControl::ApplyFont()
{
    widget_->setFont(font_->ToQFont());
    QPalette palette = widget_->palette();
    const QColor color = ColorToQColor(font_->Color());
    if (color.isValid()) {
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::ButtonText, color);
        palette.setColor(QPalette::Text, color);
    }
    widget_->setPalette(palette);
}

void TControl::SetCtl3D(bool ctl3D)
{
    parentCtl3D_ = false;
    if (ctl3D == ctl3D_)
        return;
    ctl3D_ = ctl3D;
    Ctl3DChanged();
}

void TControl::SetParentCtl3D(bool parentCtl3D)
{
    if (parentCtl3D == parentCtl3D_)
        return;
    parentCtl3D_ = parentCtl3D;
    if (parentCtl3D)
        ParentCtl3DChanged();
}

void TControl::Ctl3DChanged()
{
    ApplyFrame();
    ForEachChildControl([](TControl* child) { child->ParentCtl3DChanged(); });
}

void TControl::ParentCtl3DChanged()
{
    TControl* parent = ParentControl();
    if (!parentCtl3D_ || !parent || parent->ctl3D_ == ctl3D_)
        return;
    ctl3D_ = parent->ctl3D_;
    Ctl3DChanged();
}

void TControl::SetBorderStyle(TBorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    RecreateWnd();
}

void TControl::ApplyFrame()
{
    if (!handleAllocated_)
        return;
    // Only controls with a frame of their own have a border to style.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget_)) {
        area->setFrameShape(borderStyle_ == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
        area->setFrameShadow(ctl3D_ ? QFrame::Sunken : QFrame::Plain);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget_)) {
        edit->setFrame(borderStyle_ != bsNone);
    }
}

void TControl::SetBiDiMode(TBiDiMode mode)
{
    parentBiDiMode_ = false;
    if (mode == biDiMode_)
        return;
    biDiMode_ = mode;
    BiDiModeChanged();
}

void TControl::SetParentBiDiMode(bool parentBiDiMode)
{
    if (parentBiDiMode == parentBiDiMode_)
        return;
    parentBiDiMode_ = parentBiDiMode;
    if (parentBiDiMode)
        ParentBiDiModeChanged();
}

void TControl::BiDiModeChanged()
{
    ApplyLayoutDirection();
    ForEachChildControl([](TControl* child) { child->ParentBiDiModeChanged(); });
}

void TControl::ParentBiDiModeChanged()
{
    TControl* parent = ParentControl();
    if (!parentBiDiMode_ || !parent || parent->biDiMode_ == biDiMode_)
        return;
    biDiMode_ = parent->biDiMode_;
    BiDiModeChanged();
}

bool TControl::UseRightToLeftReading() const
{
    return LocaleFacts().RightToLeft && biDiMode_ != bdLeftToRight;
}

bool TControl::UseRightToLeftAlignment() const
{
    return LocaleFacts().RightToLeft && biDiMode_ == bdRightToLeft;
}

bool TControl::UseRightToLeftScrollBar() const
{
    return LocaleFacts().RightToLeft && biDiMode_ != bdLeftToRight && biDiMode_ != bdRightToLeftReadingOnly;
}

void TControl::ApplyLayoutDirection()
{
    if (handleAllocated_)
        widget_->setLayoutDirection(UseRightToLeftAlignment() ? Qt::RightToLeft : Qt::LeftToRight);
}

// --- State ----------------------------------------------------------------

bool TControl::Enabled() const
{
    return !widget_->testAttribute(Qt::WA_ForceDisabled);
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == Enabled())
        return;
    widget_->setEnabled(enabled);
    EnabledChanged();
}

void TControl::EnabledChanged()
{
    if (!Enabled())
        CancelMode();
    ForEachChildControl([](TControl* child) { child->ParentEnabledChanged(); });
}

void TControl::ParentEnabledChanged()
{
    // Qt disables the children of a disabled widget itself; a child that is
    // no longer usable leaves a drag or capture it had.
    if (!widget_->isEnabled())
        CancelMode();
    ForEachChildControl([](TControl* child) { child->ParentEnabledChanged(); });
}

bool TControl::Visible() const
{
    return !widget_->isHidden();
}

void TControl::SetVisible(bool visible)
{
    widget_->setVisible(visible);
}

bool TControl::TabStop() const
{
    return (widget_->focusPolicy() & Qt::TabFocus) != 0;
}

void TControl::SetTabStop(bool tabStop)
{
    const int policy = widget_->focusPolicy();
    widget_->setFocusPolicy(
        static_cast<Qt::FocusPolicy>(tabStop ? policy | Qt::TabFocus : policy & ~Qt::TabFocus));
}

// --- Painting and focus -----------------------------------------------------

void TControl::Invalidate()
{
    widget_->update();
}

void TControl::Update()
{
    // Marked regions are painted by the window's pending update request.
    QCoreApplication::sendPostedEvents(widget_->window(), QEvent::UpdateRequest);
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TControl::CanFocus() const
{
    for (const QWidget* w = widget_; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (w->isHidden() || !w->isEnabled())
            return false;
    return true;
}

bool TControl::Focused() const
{
    return widget_->hasFocus();
}

void TControl::SetMouseCapture(bool capture)
{
    if (capture)
        widget_->grabMouse();
    else if (MouseCapture())
        widget_->releaseMouse();
}

bool TControl::MouseCapture() const
{
    return QWidget::mouseGrabber() == widget_;
}

// --- Hints, menus, cursor -----------------------------------------------------

bool TControl::ShowHint() const
{
    if (parentShowHint_)
        if (const TControl* parent = ParentControl())
            return parent->ShowHint();
    return showHint_;
}

void TControl::SetShowHint(bool showHint)
{
    showHint_ = showHint;
    parentShowHint_ = false;
}

void TControl::CMHintShowPause(bool, int&) {}

int TControl::CMHintShow(THintInfo&)
{
    return 0;
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (menu == popupMenu_)
        return;
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(widget_);
    popupMenu_ = menu;
    if (menu)
        menu->FreeNotification(static_cast<TComponentCore*>(this));
}

TPopupMenu* TControl::GetPopupMenu() const
{
    for (const TControl* control = this; control; control = control->ParentControl())
        if (control->popupMenu_)
            return control->popupMenu_;
    return nullptr;
}

void TControl::Notification(TComponentCore* component, TOperation operation)
{
    TComponentCore::Notification(component, operation);
    if (operation == TOperation::opRemove && popupMenu_ && component == popupMenu_)
        popupMenu_ = nullptr;
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (cursor == crDefault)
        widget_->unsetCursor();
    else
        widget_->setCursor(CursorShapeFor(int(cursor)));
}

// --- Geometry -------------------------------------------------------------------

int TControl::Left() const
{
    return widget_->x();
}
void TControl::SetLeft(int left)
{
    SetBounds(left, Top(), Width(), Height());
}
int TControl::Top() const
{
    return widget_->y();
}
void TControl::SetTop(int top)
{
    SetBounds(Left(), top, Width(), Height());
}
int TControl::Width() const
{
    return widget_->width();
}
void TControl::SetWidth(int width)
{
    SetBounds(Left(), Top(), width, Height());
}
int TControl::Height() const
{
    return widget_->height();
}
void TControl::SetHeight(int height)
{
    SetBounds(Left(), Top(), Width(), height);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (widget_->isWindow()) {
        // A window's x and y are its frame's; setGeometry would place the
        // client area there instead. A window not moved keeps the place the
        // system or its position rule gives it.
        if (QPoint(left, top) != widget_->pos())
            widget_->move(left, top);
        widget_->resize(width, height);
    } else {
        widget_->setGeometry(left, top, width, height);
    }
}

namespace {

// The client area in the control's own coordinates.
QRect ClientRect(const QWidget* widget)
{
    if (const auto* area = qobject_cast<const QAbstractScrollArea*>(widget))
        return area->viewport()->geometry();
    return widget->contentsRect();
}

}  // namespace

int TControl::ClientWidth() const
{
    return ClientRect(widget_).width();
}
int TControl::ClientHeight() const
{
    return ClientRect(widget_).height();
}

void TControl::SetClientWidth(int width)
{
    SetWidth(widget_->width() + width - ClientWidth());
}

void TControl::SetClientHeight(int height)
{
    SetHeight(widget_->height() + height - ClientHeight());
}

QPoint TControl::ClientToScreen(const QPoint& point) const
{
    return widget_->mapToGlobal(point + ClientRect(widget_).topLeft());
}

QPoint TControl::ScreenToClient(const QPoint& point) const
{
    return widget_->mapFromGlobal(point) - ClientRect(widget_).topLeft();
}

// --- Window handle emulation ------------------------------------------------------

void TControl::HandleNeeded()
{
    if (handleAllocated_)
        return;
    if (TControl* parent = ParentControl())
        parent->HandleNeeded();
    if (!handleAllocated_)
        CreateWnd();
}

void TControl::CreateWnd()
{
    handleAllocated_ = true;
    ApplyFrame();
    ApplyLayoutDirection();
}

void TControl::DestroyWnd()
{
    handleAllocated_ = false;
}

void TControl::RecreateWnd()
{
    if (!handleAllocated_)
        return;
    DestroyWnd();
    CreateWnd();
}

}  // namespace tk
