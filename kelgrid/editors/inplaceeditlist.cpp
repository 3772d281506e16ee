#include "kelgrid/editors/inplaceeditlist.h"

#include "kelgrid/editors/editorpopup.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/singleshottimer.h"
#include "toolkit/ui/sysinfo.h"
#include "toolkit/ui/themes.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QWheelEvent>

namespace kelgrid {

namespace {

bool Has(tk::TShiftState shift, tk::TShiftStateFlag flag)
{
    return shift.testFlag(flag);
}

}  // namespace

// The opening animation's state: a timer step per row, so no event loop
// runs inside the editor. Whatever goes away meanwhile (the popup, the
// editor with the grid that owns it) ends it: the popup is watched, and
// the timer dies with the editor.
struct TKelInplaceEditList::TAnimation {
    tk::TSingleShotTimer timer;
    QPointer<QWidget> popup;
    int rowHeight = 0;
    int maxHeight = 0;
    int bottom = 0;  // the fixed lower edge of a popup that opens upward
    bool upward = false;
};

TKelInplaceEditList::TKelInplaceEditList(TKelCustomDBGrid* grid)
    : tk::TInplaceEdit(grid), buttonWidth_(tk::ScrollBarExtent()), animation_(std::make_unique<TAnimation>())
{
    setMouseTracking(true);
    animation_->timer.OnTimer = [this] { AnimationStep(); };
}

TKelInplaceEditList::~TKelInplaceEditList() = default;

TKelCustomDBGrid* TKelInplaceEditList::DBGrid() const
{
    return static_cast<TKelCustomDBGrid*>(Grid());
}

void TKelInplaceEditList::SetEditStyle(TKelEditStyle style)
{
    if (style == editStyle_)
        return;
    editStyle_ = style;
    BoundsChanged();
    update();
}

QRect TKelInplaceEditList::ButtonRect() const
{
    if (editStyle_ == esSimple)
        return {};
    const int x = DBGrid()->UseRightToLeftAlignment() ? 0 : width() - buttonWidth_;
    return QRect(x, 0, buttonWidth_, height());
}

bool TKelInplaceEditList::OverButton(const QPoint& pos) const
{
    return ButtonRect().contains(pos);
}

void TKelInplaceEditList::BoundsChanged()
{
    // The text keeps 2 pixels from the edges and out of the button.
    QMargins margins(2, 0, 2, 0);
    if (editStyle_ != esSimple) {
        if (DBGrid()->UseRightToLeftAlignment())
            margins.setLeft(buttonWidth_);
        else
            margins.setRight(buttonWidth_ + 2);
    }
    SetTextRect(margins);
}

// --- Opening and closing ----------------------------------------------------------------

TKelInplaceEditList::TListGeometry TKelInplaceEditList::PrepareList()
{
    TListGeometry geometry;
    if (QWidget* widget = activeList_ ? activeList_->Widget() : nullptr)
        geometry.size = widget->size();
    return geometry;
}

void TKelInplaceEditList::OpenList()
{
    if (popupVisible_ || !activeList_ || !activeList_->Widget())
        return;
    const TListGeometry geometry = PrepareList();
    QWidget* popup = activeList_->Widget();
    if (!popup)
        return;
    DBGrid()->ListDropDown(popup);
    if (!activeList_ || activeList_->Widget() != popup)
        return;

    // Below the cell, inside the work area sideways; above it when it does
    // not fit below; flush with the work area's bottom when neither fits.
    const QPoint anchor = mapToGlobal(QPoint(-1, 0));
    const QRect work = tk::WorkAreaAt(anchor);
    QSize size = geometry.size.isValid() ? geometry.size : popup->size();
    size.setHeight(qMin(size.height(), work.height()));
    int x = anchor.x();
    if (popup->layoutDirection() == Qt::RightToLeft) {
        const int right = anchor.x() + width() - size.width() + 2;
        if (right >= work.left())
            x = right;
    } else if (x + size.width() > work.right() + 1) {
        x -= size.width() - width() - 2;
    }
    int y = anchor.y() + height();
    bool upward = false;
    if (y + size.height() > work.bottom() + 1) {
        if (anchor.y() - size.height() < work.top()) {
            y = work.bottom() + 1 - size.height();
        } else {
            y = anchor.y() - size.height() + (geometry.ownerDrawnList ? 1 : 0);
            upward = true;
        }
    }

    const int maxHeight = size.height();
    const int minHeight = qMax(geometry.minHeight, geometry.rowHeight);
    const bool animate = ListDropDownDelay > 0 && geometry.rowHeight > 0 && minHeight < maxHeight;
    if (animate) {
        if (upward)
            y += maxHeight - minHeight;
        size.setHeight(minHeight);
    }
    popup->resize(size);
    activeList_->SetAssociate(this);
    activeList_->SetOnCloseUp([this](QObject*, bool accept) { PopupClosed(accept); });
    activeList_->Show(QPoint(x, y));
    popupVisible_ = true;
    update();
    if (animate) {
        animation_->popup = popup;
        animation_->rowHeight = geometry.rowHeight;
        animation_->maxHeight = maxHeight;
        animation_->upward = upward;
        animation_->bottom = y + minHeight;
        animation_->timer.Start(ListDropDownDelay);
    }
}

void TKelInplaceEditList::AnimationStep()
{
    QWidget* popup = animation_->popup;
    if (!popup || !popupVisible_ || !activeList_ || activeList_->Widget() != popup)
        return;
    const int height = qMin(popup->height() + animation_->rowHeight, animation_->maxHeight);
    if (animation_->upward)
        popup->setGeometry(popup->x(), animation_->bottom - height, popup->width(), height);
    else
        popup->resize(popup->width(), height);
    if (height < animation_->maxHeight)
        animation_->timer.Start(ListDropDownDelay);
}

bool TKelInplaceEditList::Animating() const
{
    return animation_->timer.Active();
}

void TKelInplaceEditList::FinishOpening()
{
    // The popup closes at its full height, so it opens from it next time.
    animation_->timer.Stop();
    QWidget* popup = animation_->popup;
    if (!popup || popup->height() >= animation_->maxHeight)
        return;
    if (animation_->upward)
        popup->setGeometry(popup->x(), animation_->bottom - animation_->maxHeight, popup->width(),
                           animation_->maxHeight);
    else
        popup->resize(popup->width(), animation_->maxHeight);
}

void TKelInplaceEditList::CloseList(bool)
{
    if (!popupVisible_)
        return;
    StopTracking();
    FinishOpening();
    popupVisible_ = false;
    if (activeList_)
        activeList_->Hide();
    update();
}

void TKelInplaceEditList::PopupClosed(bool accept)
{
    const QPointer<TKelInplaceEditList> self(this);
    CloseList(accept);
    if (self && accept && AutoCloseEditor())
        PostKey(Qt::Key_Return);
}

void TKelInplaceEditList::PostKey(int qtKey)
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, qtKey, Qt::NoModifier,
                                                    qtKey == Qt::Key_Return ? QStringLiteral("\r") : QString()));
}

void TKelInplaceEditList::ButtonClick()
{
    if (OnButtonClick)
        OnButtonClick(DBGrid());
}

// --- Keys ------------------------------------------------------------------------------

void TKelInplaceEditList::keyPressEvent(QKeyEvent* event)
{
    currentKey_ = event;
    keyOffered_ = false;
    auto clear = qScopeGuard([this] { currentKey_ = nullptr; });
    const QPointer<TKelInplaceEditList> self(this);
    tk::TInplaceEdit::keyPressEvent(event);
    if (!self)
        clear.dismiss();
}

bool TKelInplaceEditList::ListKeys(int& key, tk::TShiftState shift)
{
    const bool alt = Has(shift, tk::ssAlt);
    const bool ctrl = Has(shift, tk::ssCtrl);
    const bool buttonOnly = editStyle_ == esEllipsis || editStyle_ == esDropDown;
    switch (key) {
    case tk::VK_TAB:
        if (!alt && !ctrl && popupVisible_)
            CloseList(false);
        return false;
    case tk::VK_RETURN:
        if (ctrl && !alt) {
            if (buttonOnly)
                ButtonClick();
            else if (popupVisible_)
                CloseList(true);
            else
                OpenList();
            return true;
        }
        if (!alt && popupVisible_) {
            CloseList(true);
            return true;
        }
        return false;
    case tk::VK_ESCAPE:
        if (!alt && popupVisible_) {
            CloseList(false);
            return true;
        }
        return false;
    case tk::VK_UP:
    case tk::VK_DOWN:
        if (!alt || buttonOnly)
            return false;
        if (popupVisible_)
            CloseList(true);
        else
            OpenList();
        return true;
    case tk::VK_F2:
        if (alt || ctrl)
            return false;
        if (buttonOnly)
            ButtonClick();
        else if (!popupVisible_)
            OpenList();
        else if (F2ClosesAsChoice())
            PopupClosed(true);
        else
            CloseList(true);
        return true;
    default:
        return false;
    }
}

void TKelInplaceEditList::KeyDown(int& key, tk::TShiftState shift)
{
    if (editStyle_ != esSimple) {
        const QPointer<TKelInplaceEditList> self(this);
        if (ListKeys(key, shift)) {
            key = 0;
            return;
        }
        if (!self)
            return;
        // An open popup sees every key the table above left.
        if (key != tk::VK_TAB && OfferKeyToPopup()) {
            key = 0;
            return;
        }
    }
    tk::TInplaceEdit::KeyDown(key, shift);
}

bool TKelInplaceEditList::OfferKeyToPopup()
{
    // Each key event is offered once, whether KeyDown or KeyPress sees it.
    if (!popupVisible_ || !activeList_ || !currentKey_ || keyOffered_)
        return false;
    keyOffered_ = true;
    return activeList_->ForwardKey(*currentKey_);
}

void TKelInplaceEditList::KeyPress(QChar& key)
{
    // Characters without a virtual key (an asterisk, a letter with an
    // accent) reach here without passing KeyDown: the open popup takes them
    // too, rather than the hidden text behind it.
    if (editStyle_ != esSimple && OfferKeyToPopup()) {
        key = QChar();
        return;
    }
    tk::TInplaceEdit::KeyPress(key);
}

// --- Mouse ---------------------------------------------------------------------------------

void TKelInplaceEditList::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !OverButton(pos)) {
        tk::TInplaceEdit::mousePressEvent(event);
        return;
    }
    // The button: no caret moves; the press opens or closes the popup.
    event->accept();
    tk::Guarded([&] {
        if (popupVisible_) {
            CloseList(false);
            return;
        }
        tracking_ = true;
        pressed_ = true;
        update();
        if (activeList_ && editStyle_ == esPickList)
            OpenList();
    });
}

void TKelInplaceEditList::TrackButton(const QPoint& pos)
{
    const bool inside = OverButton(pos);
    if (inside != pressed_) {
        pressed_ = inside;
        update();
    }
    // Dragging from the button into the open popup: the popup gets the
    // press, and the moves and the release that follow.
    QWidget* popup = popupVisible_ && activeList_ ? activeList_->Widget() : nullptr;
    if (!popup)
        return;
    const QPoint global = mapToGlobal(pos);
    const QPoint local = popup->mapFromGlobal(global);
    if (!popup->rect().contains(local))
        return;
    StopTracking();
    QWidget* target = popup->childAt(local);
    if (!target)
        target = popup;
    handover_ = target;
    const QPoint targetPos = target->mapFromGlobal(global);
    QMouseEvent press(QEvent::MouseButtonPress, targetPos, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
}

void TKelInplaceEditList::ForwardToHandover(QMouseEvent* event)
{
    QWidget* target = handover_;
    if (!target)
        return;
    const QPoint global = event->globalPosition().toPoint();
    QMouseEvent copy(event->type(), target->mapFromGlobal(global), global, event->button(), event->buttons(),
                     event->modifiers());
    QCoreApplication::sendEvent(target, &copy);
}

void TKelInplaceEditList::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (handover_) {
        event->accept();
        tk::Guarded([&] { ForwardToHandover(event); });
        return;
    }
    const bool overButton = OverButton(pos);
    if (overButton != mouseOverButton_) {
        mouseOverButton_ = overButton;
        update(ButtonRect());
    }
    if (overButton)
        setCursor(Qt::ArrowCursor);
    else
        unsetCursor();
    if (tracking_) {
        event->accept();
        tk::Guarded([&] { TrackButton(pos); });
        return;
    }
    tk::TInplaceEdit::mouseMoveEvent(event);
}

void TKelInplaceEditList::mouseReleaseEvent(QMouseEvent* event)
{
    if (handover_) {
        event->accept();
        tk::Guarded([&] {
            ForwardToHandover(event);
            handover_ = nullptr;
        });
        return;
    }
    if (!tracking_) {
        tk::TInplaceEdit::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    tk::Guarded([&] {
        const bool clicked = pressed_ && OverButton(event->position().toPoint());
        StopTracking();
        if (clicked && (editStyle_ == esEllipsis || editStyle_ == esDropDown))
            ButtonClick();
    });
}

void TKelInplaceEditList::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Double-clicks on the button are presses as any other.
    if (event->button() == Qt::LeftButton && OverButton(event->position().toPoint())) {
        mousePressEvent(event);
        return;
    }
    tk::TInplaceEdit::mouseDoubleClickEvent(event);
}

void TKelInplaceEditList::DblClick()
{
    if (editStyle_ == esEllipsis || editStyle_ == esDropDown)
        ButtonClick();
}

void TKelInplaceEditList::StopTracking()
{
    if (!tracking_ && !pressed_)
        return;
    tracking_ = false;
    pressed_ = false;
    update();
}

void TKelInplaceEditList::wheelEvent(QWheelEvent* event)
{
    QWidget* popup = popupVisible_ && activeList_ && ListTakesWheel() ? activeList_->Widget() : nullptr;
    if (!popup) {
        tk::TInplaceEdit::wheelEvent(event);
        return;
    }
    event->accept();
    tk::Guarded([&] {
        const QPoint global = event->globalPosition().toPoint();
        // A scrolling list takes the wheel on its viewport only.
        QWidget* target = popup->childAt(popup->mapFromGlobal(global));
        if (!target)
            if (auto* area = qobject_cast<QAbstractScrollArea*>(popup))
                target = area->viewport();
        if (!target)
            target = popup;
        QWheelEvent copy(target->mapFromGlobal(global), global, event->pixelDelta(), event->angleDelta(),
                         event->buttons(), event->modifiers(), event->phase(), event->inverted());
        QCoreApplication::sendEvent(target, &copy);
    });
}

// --- Focus, visibility, hover ------------------------------------------------------------

void TKelInplaceEditList::focusOutEvent(QFocusEvent* event)
{
    tk::Guarded([&] { CloseList(false); });
    tk::TInplaceEdit::focusOutEvent(event);
}

void TKelInplaceEditList::hideEvent(QHideEvent* event)
{
    tk::Guarded([&] { CloseList(false); });
    tk::TInplaceEdit::hideEvent(event);
}

void TKelInplaceEditList::enterEvent(QEnterEvent* event)
{
    mouseInControl_ = true;
    update();
    tk::TInplaceEdit::enterEvent(event);
}

void TKelInplaceEditList::leaveEvent(QEvent* event)
{
    mouseInControl_ = false;
    mouseOverButton_ = false;
    update();
    tk::TInplaceEdit::leaveEvent(event);
}

// --- Painting ------------------------------------------------------------------------------

bool TKelInplaceEditList::Themed() const
{
    return DBGrid()->IsGridThemed();
}

bool TKelInplaceEditList::Flat() const
{
    return DBGrid()->FlatSBMode();
}

void TKelInplaceEditList::PaintWindow(tk::TCanvas& canvas)
{
    const QRect button = ButtonRect();
    if (!button.isEmpty())
        PaintButton(canvas, button);
}

void TKelInplaceEditList::PaintButton(tk::TCanvas& canvas, const QRect& rect)
{
    const bool hot = mouseOverButton_ && !pressed_;
    const bool disabled = editStyle_ == esPickList && !activeList_;
    if (editStyle_ == esEllipsis) {
        bool shiftDots = false;
        if (Themed()) {
            tk::TThemedDetails details;
            details.element = tk::TThemedElement::tePushButton;
            details.state = pressed_ ? tk::TThemedState::tsPressed
                            : hot    ? tk::TThemedState::tsHot
                                     : tk::TThemedState::tsNormal;
            tk::DrawThemedElement(canvas, details, rect, this);
        } else if (Flat()) {
            QRect face = rect;
            tk::DrawEdge(canvas, face, tk::edgeRaised, tk::bfRect | tk::bfFlat | tk::bfMiddle);
        } else {
            QRect face = rect;
            tk::DrawEdge(canvas, face, pressed_ ? tk::bdrSunkenOuter : tk::edgeRaised,
                         tk::bfRect | tk::bfMiddle | (pressed_ ? tk::bfFlat : 0u));
            shiftDots = pressed_;
        }
        // Three dots of side d at the centre and 2d either side of it.
        const int side = buttonWidth_ <= 7 ? 1 : buttonWidth_ / 8;
        QPoint centre(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
        if (!Flat())
            centre -= QPoint(1, 1);
        if (shiftDots)
            centre += QPoint(1, 1);
        canvas.Brush()->SetColor(tk::clBlack);
        for (int dx : {-2 * side, 0, 2 * side})
            canvas.FillRect(QRect(centre.x() + dx, centre.y(), side, side));
    } else {
        if (Themed()) {
            tk::TThemedDetails details;
            details.element = tk::TThemedElement::teComboDropDown;
            details.state = disabled   ? tk::TThemedState::tsDisabled
                            : pressed_ ? tk::TThemedState::tsPressed
                            : hot      ? tk::TThemedState::tsHot
                                       : tk::TThemedState::tsNormal;
            tk::DrawThemedElement(canvas, details, rect, this);
        } else {
            unsigned state = tk::dfcsScrollComboBox;
            if (Flat())
                state |= tk::dfcsFlat;
            else if (pressed_)
                state |= tk::dfcsPushed | tk::dfcsFlat;
            if (disabled)
                state |= tk::dfcsInactive;
            tk::DrawFrameControl(canvas, rect, tk::TFrameControl::dfcScroll, state);
        }
    }
    if (Flat() && !Themed()) {
        QRect inner = rect.adjusted(1, 1, -1, -1);
        if (pressed_)
            tk::DrawEdge(canvas, inner, tk::bdrSunkenInner, tk::bfRect);
        else if (mouseInControl_)
            tk::DrawEdge(canvas, inner, tk::bdrRaisedInner, tk::bfRect);
    }
}

}  // namespace kelgrid
