#include "toolkit/ui/hintengine.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/singleshottimer.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QWidget>
#include <algorithm>

namespace tk {

namespace {

// How far below the cursor's hot spot a hint starts: the part of an arrow
// cursor below its tip, which Qt does not tell.
constexpr int kCursorHeightMargin = 20;

THintEngine* theEngine = nullptr;

// A control that can be asked: not a hint window, not being destroyed.
TControl* LiveControl(const QWidget* widget)
{
    TControl* control = ControlOf(widget);
    if (!control || control->HasState(TComponentStateFlag::csDestroying) ||
        qobject_cast<const THintWindow*>(widget))
        return nullptr;
    return control;
}

// The control whose hint shows for a mouse over widget: the first control
// from widget up to its window whose ShowHint is on.
TControl* HintControlAt(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->isWindow() ? nullptr : w->parentWidget())
        if (TControl* control = LiveControl(w); control && control->ShowHint())
            return control;
    return nullptr;
}

// The control's Hint, else the nearest parent control's that has one (up
// to the control's window).
QString HintOf(const TControl* control)
{
    for (const TControl* c = control; c; c = c->Widget()->isWindow() ? nullptr : c->ParentControl())
        if (!c->Hint().isEmpty())
            return c->Hint();
    return QString();
}

bool MouseOver(const TControl* control, const QPoint& globalPos)
{
    const QWidget* widget = control->Widget();
    return widget->isVisible() && widget->rect().contains(widget->mapFromGlobal(globalPos));
}

}  // namespace

// --- Life -------------------------------------------------------------------------

THintEngine& THintEngine::Instance()
{
    if (!theEngine) {
        Q_ASSERT(QCoreApplication::instance());
        theEngine = new THintEngine;
        // Runs at the start of the application object's destructor, while
        // windows may still be deleted.
        qAddPostRoutine(&THintEngine::Destroy);
    }
    return *theEngine;
}

void THintEngine::Destroy()
{
    delete theEngine;
    theEngine = nullptr;
}

THintEngine::THintEngine() : hintWindowClass_(HintWindowClassOf<THintWindow>())
{
    QCoreApplication::instance()->installEventFilter(this);
}

THintEngine::~THintEngine()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    QObject::disconnect(hintWidgetGone_);
}

// --- Settings -----------------------------------------------------------------------

void THintEngine::SetHintPause(int milliseconds)
{
    hintPause_ = std::max(milliseconds, 0);
}

void THintEngine::SetHintShortPause(int milliseconds)
{
    hintShortPause_ = std::max(milliseconds, 0);
}

void THintEngine::SetHintHidePause(int milliseconds)
{
    hintHidePause_ = milliseconds;
}

void THintEngine::SetShowHint(bool showHint)
{
    if (showHint == showHint_)
        return;
    showHint_ = showHint;
    if (!showHint)
        CancelHint();
}

void THintEngine::SetHintWindowClass(THintWindowClass windowClass)
{
    if (!windowClass)
        throw EInvalidOperation(QStringLiteral("A hint window class is required"));
    hintWindowClass_ = windowClass;
}

// --- State ----------------------------------------------------------------------------

TControl* THintEngine::HintControl() const
{
    return hintWidget_ ? LiveControl(hintWidget_) : nullptr;
}

bool THintEngine::HintShowing() const
{
    return window_ && window_->isVisible();
}

void THintEngine::Watch(QWidget* widget)
{
    if (widget == hintWidget_)
        return;
    QObject::disconnect(hintWidgetGone_);
    hintWidget_ = widget;
    if (widget)
        hintWidgetGone_ =
            connect(widget, &QObject::destroyed, this, [this] { Guarded([this] { CancelHint(); }); });
}

// --- Timer -------------------------------------------------------------------------------

void THintEngine::StartTimer(int milliseconds, TimerMode mode)
{
    if (!timer_)
        timer_ = std::make_unique<TSingleShotTimer>([this] { TimerExpired(); });
    timerMode_ = mode;
    timer_->Start(milliseconds);
}

void THintEngine::StopTimer()
{
    // Freed rather than stopped, so that no countdown outlives the time
    // source it came from; freeing it inside its own handler is allowed.
    timer_.reset();
}

void THintEngine::TimerExpired()
{
    const TimerMode mode = timerMode_;
    StopTimer();
    if (mode == TimerMode::hide)
        HideHint();
    else
        ShowFor(lastMousePos_);
}

// --- Operations ---------------------------------------------------------------------------

void THintEngine::HideHint()
{
    if (HintShowing())
        window_->ReleaseHandle();
}

void THintEngine::CancelHint()
{
    HideHint();
    Watch(nullptr);
    hintActive_ = false;
    cursorRect_ = QRect();
    StopTimer();
}

void THintEngine::MouseMoved(QWidget* target, const QPoint& globalPos)
{
    lastMousePos_ = globalPos;
    if (!showHint_)
        return;
    TControl* control = HintControlAt(target);
    if (!control) {
        CancelHint();
        return;
    }
    if (control->Widget() == hintWidget_ && cursorRect_.contains(globalPos))
        return;
    auto cancel = qScopeGuard([this] { CancelHint(); });
    const bool wasActive = hintActive_;
    int pause = wasActive ? hintShortPause_ : hintPause_;
    control->CMHintShowPause(wasActive, pause);
    cancel.dismiss();
    Watch(control->Widget());
    // Until the next hint shows, every move restarts the pause.
    cursorRect_ = QRect();
    StartTimer(pause, TimerMode::show);
}

void THintEngine::ActivateHint(const QPoint& cursorPos)
{
    lastMousePos_ = cursorPos;
    TControl* control = HintControl();
    if (!control || !MouseOver(control, cursorPos)) {
        QWidget* target = QApplication::widgetAt(cursorPos);
        control = target ? HintControlAt(target) : nullptr;
        if (!control)
            return;
        Watch(control->Widget());
    }
    StopTimer();
    ShowFor(cursorPos);
}

void THintEngine::ShowFor(const QPoint& cursorPos)
{
    hintActive_ = false;
    auto cancel = qScopeGuard([this] { CancelHint(); });
    int reshowTimeout = 0;
    TControl* control = HintControl();
    // As the platform does, hints show only while the application is in
    // the foreground.
    const bool foreground = QGuiApplication::applicationState() == Qt::ApplicationActive;
    if (showHint_ && foreground && control && control->ShowHint() && MouseOver(control, cursorPos)) {
        const QWidget* widget = control->Widget();
        THintInfo info;
        info.HintControl = control;
        info.HintWindowClass = hintWindowClass_;
        info.HintPos = cursorPos + QPoint(0, kCursorHeightMargin);
        info.HintMaxWidth = ScreenRect().width();
        info.HintColor = hintColor_;
        info.CursorRect = QRect(control->ScreenToClient(widget->mapToGlobal(QPoint(0, 0))), widget->size());
        info.CursorPos = control->ScreenToClient(cursorPos);
        info.ReshowTimeout = 0;
        info.HideTimeout = hintHidePause_;
        info.HintStr = GetShortHint(HintOf(control));
        bool canShow = control->CMHintShow(info) == 0;
        if (canShow && OnShowHint)
            OnShowHint(info.HintStr, canShow, info);
        // The query may have freed the control.
        control = HintControl();
        hintActive_ = canShow && control;
        if (hintActive_ && !info.HintStr.isEmpty()) {
            ShowWindow(control, info);
            cancel.dismiss();
            if (info.ReshowTimeout > 0)
                StartTimer(info.ReshowTimeout, TimerMode::show);
            else if (info.HideTimeout >= 0)
                StartTimer(info.HideTimeout, TimerMode::hide);
            return;
        }
        reshowTimeout = info.ReshowTimeout;
    }
    cancel.dismiss();
    if (reshowTimeout > 0 && control) {
        // Nothing to show now; ask again later.
        HideHint();
        cursorRect_ = QRect();
        StartTimer(reshowTimeout, TimerMode::show);
    } else {
        CancelHint();
    }
}

void THintEngine::ShowWindow(TControl* control, const THintInfo& info)
{
    THintWindow& window = WindowOf(info.HintWindowClass ? info.HintWindowClass : hintWindowClass_);
    window.SetBiDiMode(control->BiDiMode());
    QRect rect = window.CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    rect.translate(info.HintPos);
    // Right-to-left: the hint ends where a left-to-right one would begin.
    if (control->UseRightToLeftAlignment())
        rect.translate(-rect.width(), 0);
    cursorRect_ = QRect(control->ClientToScreen(info.CursorRect.topLeft()), info.CursorRect.size());
    window.SetColor(info.HintColor);
    window.ActivateHintData(rect, info.HintStr, info.HintData);
}

THintWindow& THintEngine::WindowOf(THintWindowClass windowClass)
{
    if (!window_ || windowClass_ != windowClass) {
        window_.reset();
        windowClass_ = nullptr;
        window_ = windowClass();
        if (!window_)
            throw EInvalidOperation(QStringLiteral("The hint window class made no window"));
        windowClass_ = windowClass;
    }
    return *window_;
}

// --- Qt entry ---------------------------------------------------------------------------

bool THintEngine::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            // An event that travels on to the parents passes here again;
            // each pass finds the same deepest widget.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            QWidget* child = widget->childAt(mouse->position().toPoint());
            QWidget* target = child ? child : widget;
            Guarded([&] { MouseMoved(target, mouse->globalPosition().toPoint()); });
        }
        return false;
    case QEvent::Leave:
        // A window's Leave: the mouse left it (moves between its children
        // never reach the window).
        if (auto* widget = qobject_cast<QWidget*>(watched);
            widget && widget->isWindow() && hintWidget_ && widget == hintWidget_->window())
            Guarded([this] { CancelHint(); });
        return false;
    case QEvent::Hide:
        if (watched == hintWidget_)
            Guarded([this] { CancelHint(); });
        return false;
    default:
        break;
    }
    if ((hintWidget_ || HintShowing()) &&
        (window_ ? window_->IsHintMsg(*event) : THintWindow::IsHintInput(*event)))
        Guarded([this] { CancelHint(); });
    return false;
}

}  // namespace tk
