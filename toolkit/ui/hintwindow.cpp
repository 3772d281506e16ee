#include "toolkit/ui/hintwindow.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/sysinfo.h"

#include <QEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QToolTip>
#include <algorithm>

namespace tk {

namespace {

// The border the platform's hint window has around its client area.
constexpr int kBorder = 1;
// The text's distance from the client area's leading and top edges.
constexpr int kTextInset = 2;

}  // namespace

THintWindow::THintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput),
      TControl(this), canvas_(std::make_unique<TCanvas>(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    SetColor(clInfoBk);
    const QFont tipFont = QToolTip::font();
    Font()->SetName(tipFont.family());
    if (tipFont.pointSize() > 0)
        Font()->SetSize(tipFont.pointSize());
    canvas_->Font()->Assign(Font());
}

THintWindow::~THintWindow()
{
    Destroying();
}

QRect THintWindow::ClientRect() const
{
    return rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
}

void THintWindow::FontChanged()
{
    TControl::FontChanged();
    if (canvas_)
        canvas_->Font()->Assign(Font());
}

unsigned THintWindow::BiDiTextFlags() const
{
    unsigned flags = 0;
    if (UseRightToLeftReading())
        flags |= dtRtlReading;
    if (UseRightToLeftAlignment())
        flags |= dtRight;
    return flags;
}

void THintWindow::ActivateHint(QRect rect, const QString& hint)
{
    caption_ = hint;
    rect.setHeight(rect.height() + 4);
    const QRect area = WorkAreaAt(rect.topLeft());
    if (!area.isEmpty()) {
        if (rect.bottom() > area.bottom())
            rect.moveBottom(area.bottom());
        if (rect.right() > area.right())
            rect.moveRight(area.right());
        if (rect.left() < area.left())
            rect.moveLeft(area.left());
        if (rect.top() < area.top())
            rect.moveTop(area.top());
    }
    setGeometry(rect);
    // A tool-tip window stays above the others; no raise needed.
    show();
    update();
}

void THintWindow::ActivateHintData(QRect rect, const QString& hint, const QVariant&)
{
    ActivateHint(rect, hint);
}

QRect THintWindow::CalcHintRect(int maxWidth, const QString& hint, const QVariant&)
{
    QRect rect(0, 0, std::max(maxWidth, 1), 0);
    const unsigned flags = dtCalcRect | dtLeft | dtWordBreak | dtNoPrefix | (BiDiTextFlags() & dtRtlReading);
    canvas_->DrawText(hint, rect, flags);
    rect.setWidth(rect.width() + 6);
    rect.setHeight(rect.height() + 2);
    return rect;
}

bool THintWindow::IsHintInput(const QEvent& event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::Wheel:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        return true;
    default:
        return false;
    }
}

bool THintWindow::IsHintMsg(const QEvent& event) const
{
    return IsHintInput(event);
}

void THintWindow::ReleaseHandle()
{
    hide();
}

void THintWindow::Paint()
{
    QRect text = ClientRect();
    if (UseRightToLeftAlignment())
        text.adjust(0, kTextInset, -kTextInset, 0);
    else
        text.adjust(kTextInset, kTextInset, 0, 0);
    canvas_->Font()->SetColor(clInfoText);
    canvas_->DrawText(caption_, text, dtLeft | dtNoPrefix | dtWordBreak | BiDiTextFlags());
}

void THintWindow::paintEvent(QPaintEvent*)
{
    Guarded([this] {
        const auto release = qScopeGuard([this] { canvas_->Release(); });
        QPainter* painter = canvas_->Painter();
        if (!painter)
            return;
        painter->fillRect(rect(), canvas_->ToQColor(Color()));
        Paint();
        // The border goes over whatever Paint drew, outside any clipping or
        // mirroring Paint left on the canvas.
        painter = canvas_->Painter();
        painter->save();
        painter->resetTransform();
        painter->setClipping(false);
        const QColor border = canvas_->ToQColor(clWindowFrame);
        const QRect all = rect();
        painter->fillRect(QRect(all.left(), all.top(), all.width(), kBorder), border);
        painter->fillRect(QRect(all.left(), all.bottom(), all.width(), kBorder), border);
        painter->fillRect(QRect(all.left(), all.top(), kBorder, all.height()), border);
        painter->fillRect(QRect(all.right(), all.top(), kBorder, all.height()), border);
        painter->restore();
    });
}

}  // namespace tk
