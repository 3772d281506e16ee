// The control base's Qt boundary and event-driven parts: the event filter on
// the widget, focus enter and exit, cancel mode, posted messages and the
// drag state. Everything that Qt calls is guarded here.
#include "toolkit/ui/control.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/hintengine.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace tk {

namespace {

// The one event type of posted messages; the id travels in the event.
QEvent::Type PostedMessageType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

class TPostedMessageEvent : public QEvent {
public:
    TPostedMessageEvent(TMessageId message, qintptr param)
        : QEvent(PostedMessageType()), message_(message), param_(param)
    {
    }
    TMessageId message_;
    qintptr param_;
};

// True when widget is inside (or is) ancestor.
bool Contains(const QWidget* ancestor, const QWidget* widget)
{
    return widget == ancestor || (widget && ancestor->isAncestorOf(widget));
}

void ConnectApplicationSignals();

}  // namespace

// Exit and Enter for the controls the focus left and reached: every control
// around the old focus widget that does not contain the new one exits,
// innermost first; every control around the new one that did not contain
// the old one enters, outermost first. A change of window is neither.
void DispatchFocusChange(QWidget* old, QWidget* now)
{
    if (!old || !now || old->window() != now->window())
        return;
    // A control being freed is told nothing: its handlers may need what the
    // destructors already took.
    const auto live = [](QWidget* w) {
        TControl* control = w ? ControlOf(w) : nullptr;
        return control && !control->HasState(TComponentStateFlag::csDestroying) ? control : nullptr;
    };
    QList<QPointer<QWidget>> exits;
    for (QWidget* w = old; w; w = w->parentWidget())
        if (live(w) && !Contains(w, now))
            exits.append(w);
    QList<QPointer<QWidget>> enters;
    for (QWidget* w = now; w; w = w->parentWidget())
        if (live(w) && !Contains(w, old))
            enters.prepend(w);
    for (const QPointer<QWidget>& w : exits)
        if (TControl* control = live(w))
            control->DoExit();
    for (const QPointer<QWidget>& w : enters)
        if (TControl* control = live(w))
            control->DoEnter();
}

// Sees the widget's events before the widget does; the Qt boundary of the
// control base, so every reaction is guarded here.
class TControl::EventFilter : public QObject {
public:
    explicit EventFilter(TControl* control) : control_(control) {}

    // A scroll area gets its mouse events on its viewport.
    void Watch(QWidget* widget)
    {
        widget->installEventFilter(this);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
            viewport_ = area->viewport();
            viewport_->installEventFilter(this);
        }
    }

    void Unwatch(QWidget* widget)
    {
        widget->removeEventFilter(this);
        if (viewport_)
            viewport_->removeEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != control_->widget_ && !(watched == viewport_ && IsMouseButtonOrMove(event)))
            return false;
        bool consumed = false;
        Guarded([&] { consumed = React(event); });
        return consumed;
    }

private:
    bool React(QEvent* event)
    {
        switch (event->type()) {
        case QEvent::Show:
            control_->HandleNeeded();
            return false;
        case QEvent::ParentChange:
            control_->AdoptParentValues();
            return false;
        case QEvent::ToolTip:
            // Hints are shown by the application's hint engine only.
            return true;
        case QEvent::ContextMenu: {
            const auto* request = static_cast<QContextMenuEvent*>(event);
            return AnswerContextRequest(request->globalPos(),
                                        request->reason() == QContextMenuEvent::Keyboard);
        }
        case QEvent::KeyPress:
            // Shift+F10 asks for the context menu as the menu key does; Qt
            // reports only the menu key as a request.
            if (const auto* key = static_cast<QKeyEvent*>(event);
                key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)
                return AnswerContextRequest(QPoint(), true);
            return false;
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            control_->TrackDrag(event->type(), static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            return false;
        case QEvent::MouseButtonPress:
            if (control_->dragMode_ == dmAutomatic &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                control_->BeginDrag(false);
                control_->dragOrigin_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            }
            return false;
        default:
            break;
        }
        if (event->type() == PostedMessageType()) {
            const auto* posted = static_cast<TPostedMessageEvent*>(event);
            control_->DeliverPosted(posted->message_, posted->param_);
            return true;
        }
        return false;
    }

    // A request whose handler raised counts as answered all the same: it
    // must not go on to the parents and open their menus.
    bool AnswerContextRequest(const QPoint& globalPos, bool byKeyboard)
    {
        bool answered = true;
        Guarded([&] { answered = control_->ContextPopup(globalPos, byKeyboard); });
        return answered;
    }

    static bool IsMouseButtonOrMove(const QEvent* event)
    {
        return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
               event->type() == QEvent::MouseButtonRelease;
    }

    TControl* control_;
    QPointer<QWidget> viewport_;
};

namespace {

void ConnectApplicationSignals()
{
    static bool connected = false;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (connected || !app)
        return;
    connected = true;
    QObject::connect(app, &QApplication::focusChanged, app,
                     [](QWidget* old, QWidget* now) { Guarded([&] { DispatchFocusChange(old, now); }); });
    QObject::connect(app, &QGuiApplication::applicationStateChanged, app, [](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive)
            Guarded([] { BroadcastCancelMode(); });
    });
}

}  // namespace

TControl::TControl(QWidget* widget)
    : TComponentCore(widget, CoreOf(widget->parentWidget())), widget_(widget),
      filter_(std::make_unique<EventFilter>(this)), font_(new TFont(widget))
{
    ConnectApplicationSignals();
    // Hints of every control come from the one engine, which must watch
    // the mouse from the first control on.
    THintEngine::Instance();
    filter_->Watch(widget_);
    font_->OnChange = [this] {
        if (!adoptingFont_)
            parentFont_ = false;
        FontChanged();
    };
    AdoptParentValues();
    ApplyFont();
}

TControl::~TControl()
{
    Destroying();
    // Owned components go while this control is still whole, as they may
    // reach it (focus moving away from a freed child, for one).
    DestroyComponents();
    if (MouseCapture())
        widget_->releaseMouse();
    filter_->Unwatch(widget_);
    font_->OnChange = nullptr;
}

// --- Dragging -----------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold)
{
    dragOrigin_ = QCursor::pos();
    dragThreshold_ = threshold < 0 ? QApplication::startDragDistance() : threshold;
    if (immediate || dragThreshold_ == 0) {
        dragState_ = DragState::dragging;
        if (OnStartDrag)
            OnStartDrag(widget_);
    } else {
        dragState_ = DragState::pending;
    }
}

void TControl::EndDrag(bool dropped)
{
    const bool wasDragging = dragState_ == DragState::dragging;
    dragState_ = DragState::none;
    if (wasDragging && OnEndDrag)
        OnEndDrag(widget_, dropped);
}

void TControl::TrackDrag(int eventType, const QPoint& globalPos)
{
    if (dragState_ == DragState::none)
        return;
    if (eventType == QEvent::MouseButtonRelease) {
        const bool wasDragging = dragState_ == DragState::dragging;
        // The drag is over before the drop is handled, so a handler that
        // raises leaves no drag behind.
        dragState_ = DragState::none;
        if (wasDragging) {
            const bool dropped = DragReleased(globalPos);
            if (OnEndDrag)
                OnEndDrag(widget_, dropped);
        }
        return;
    }
    if (dragState_ == DragState::pending && (globalPos - dragOrigin_).manhattanLength() >= dragThreshold_) {
        dragState_ = DragState::dragging;
        if (OnStartDrag)
            OnStartDrag(widget_);
    }
    if (dragState_ == DragState::dragging)
        DragMoved(globalPos);
}

void TControl::DragMoved(const QPoint&) {}

bool TControl::DragReleased(const QPoint&)
{
    return true;
}

void TControl::CancelMode()
{
    if (dragState_ != DragState::none)
        EndDrag(false);
    SetMouseCapture(false);
}

// --- Posted messages --------------------------------------------------------------

void TControl::PostMessage(TMessageId message, qintptr param)
{
    ++pending_[message];
    QCoreApplication::postEvent(widget_, new TPostedMessageEvent(message, param));
}

void TControl::RemovePostedMessages(TMessageId message)
{
    // The events stay queued; a delivery finds no pending count and is
    // dropped.
    pending_.remove(message);
}

bool TControl::MessagePending(TMessageId message) const
{
    return pending_.value(message) > 0;
}

void TControl::DeliverPosted(TMessageId message, qintptr param)
{
    const auto it = pending_.find(message);
    if (it == pending_.end())
        return;
    if (--it.value() == 0)
        pending_.erase(it);
    PostedMessage(message, param);
}

void TControl::PostedMessage(TMessageId, qintptr) {}

// --- Focus dispatchers --------------------------------------------------------------

void TControl::DoEnter()
{
    if (OnEnter)
        OnEnter(widget_);
}

void TControl::DoExit()
{
    if (OnExit)
        OnExit(widget_);
}

// --- Application-wide ---------------------------------------------------------------

void BroadcastCancelMode()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        widgets.prepend(window);
        QList<QPointer<QWidget>> guarded(widgets.begin(), widgets.end());
        for (const QPointer<QWidget>& w : guarded)
            if (TControl* control = w ? ControlOf(w) : nullptr;
                control && !control->HasState(TComponentStateFlag::csDestroying))
                control->CancelMode();
    }
}

void FireEvent(const TNotifyEvent& handler, QObject* sender)
{
    if (handler)
        Guarded([&] { handler(sender); });
}

}  // namespace tk
