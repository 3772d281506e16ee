#pragma once
// THintEngine: the application-wide hint engine. It watches the mouse over
// the application's controls (an application event filter) and shows the
// hint of the control under it in a hint window (hintwindow.h). Qt's tool
// tips stay silent for controls (the control base swallows QEvent::ToolTip).
//
// The cycle:
// 1. A mouse move finds the hint control: the control under the mouse or
//    the nearest control above it whose ShowHint is on. None cancels (4).
//    When it is another control than the one the engine works for, or the
//    mouse is outside the cursor rectangle of the hint shown last (no hint
//    shown yet: outside), the control's CMHintShowPause may change the
//    pause (HintShortPause when a hint is active, else HintPause) and the
//    engine waits it out; every such move starts the wait again, so the
//    hint comes once the mouse rests. A hint already up stays until then.
// 2. When the pause ends, the application is in the foreground and the
//    mouse is still over the hint control, the control's CMHintShow gets a
//    THintInfo filled in with: the control; HintWindowClass; HintPos below
//    the cursor; the screen's width as HintMaxWidth; HintColor; the whole
//    control as CursorRect and the mouse as CursorPos (client coordinates);
//    ReshowTimeout 0; HintHidePause as HideTimeout; the short part of Hint
//    (the control's, else the nearest parent's that has one) as HintStr;
//    no HintData. OnShowHint follows. A non-zero result or an empty text
//    shows nothing (the engine resets, or with a ReshowTimeout asks again
//    after it). Otherwise the window of HintWindowClass (the window up is
//    kept when the class is the same) takes the control's BiDiMode and
//    HintColor, is sized by CalcHintRect and activated at HintPos (its
//    right edge there for a control with right-to-left alignment); the
//    hint is active.
// 3. While the mouse stays inside the cursor rectangle nothing is asked;
//    leaving it goes back to 1, with the short pause (one hint per cell of
//    a grid). ReshowTimeout > 0 asks again after that time; otherwise the
//    hint hides after HideTimeout (negative: never) and stays hidden while
//    the mouse stays inside the rectangle.
// 4. CancelHint hides the window and resets: the next hint waits HintPause.
//    It runs on any input the window's IsHintMsg names (keys, mouse
//    buttons, the wheel, activation changes), when the mouse leaves a
//    window, when the hint control hides or is destroyed, and when
//    ShowHint is switched off.
//
// Time runs on the toolkit timers (timerdriver.h). The engine holds a timer
// only while a pause, a reshow or a hide is pending; the tests' manual timer
// driver cancels the hint before it goes.
//
// Exceptions: the Qt entries (the event filter, the timer) are guarded; an
// exception from a control's CMHintShowPause or CMHintShow, or from the
// window, cancels the hint and goes to the application's handler. Called
// from code, ActivateHint lets it reach the caller (after cancelling).

#include "toolkit/ui/colors.h"
#include "toolkit/ui/hintinfo.h"
#include "toolkit/ui/hintwindow.h"

#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

class QEvent;
class QWidget;

namespace tk {

class TControl;
class TSingleShotTimer;

class THintEngine : public QObject {
public:
    // The engine of the running application, made (and its event filter
    // installed) on first use; freed with the application object.
    static THintEngine& Instance();

    // --- Settings (milliseconds; negative pauses count as 0) ---
    // Before the first hint.
    int HintPause() const { return hintPause_; }
    void SetHintPause(int milliseconds);
    // Before the next hint while one is active.
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int milliseconds);
    // How long a hint stays up (the default HideTimeout); negative: never.
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int milliseconds);
    // Hints on or off for the whole application; off cancels the hint.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);
    // The default HintColor.
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor color) { hintColor_ = color; }
    // The default HintWindowClass (THintWindow itself to begin with).
    THintWindowClass HintWindowClass() const { return hintWindowClass_; }
    void SetHintWindowClass(THintWindowClass windowClass);

    // After the control's CMHintShow agreed: may change the text and the
    // information, or refuse (canShow = false).
    std::function<void(QString& hintStr, bool& canShow, THintInfo& info)> OnShowHint;

    // --- Operations ---
    // Hides the hint and resets (the next hint waits HintPause).
    void CancelHint();
    // Hides the hint window only; the engine keeps its state.
    void HideHint();
    // Shows the hint of the control under cursorPos (screen) now, as when a
    // pause ends; nothing when no control with ShowHint is there.
    void ActivateHint(const QPoint& cursorPos);

    // --- State ---
    // The control the engine works for (pending or shown), else nullptr.
    TControl* HintControl() const;
    // Whether a hint was shown since the last reset (the next pause is the
    // short one).
    bool HintActive() const { return hintActive_; }
    // The window of the last hint (nullptr before the first), and whether
    // it is up.
    THintWindow* HintWindow() const { return window_.get(); }
    bool HintShowing() const;
    // The cursor rectangle of the hint shown last, in screen coordinates
    // (empty when none is shown).
    QRect HintCursorRect() const { return cursorRect_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TimerMode { show, hide };

    THintEngine();
    ~THintEngine() override;
    static void Destroy();

    void MouseMoved(QWidget* target, const QPoint& globalPos);
    void Watch(QWidget* widget);
    void StartTimer(int milliseconds, TimerMode mode);
    void StopTimer();
    void TimerExpired();
    // The pause ended (or ActivateHint): ask the control and show.
    void ShowFor(const QPoint& cursorPos);
    void ShowWindow(TControl* control, const THintInfo& info);
    THintWindow& WindowOf(THintWindowClass windowClass);

    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    bool showHint_ = true;
    TColor hintColor_ = clInfoBk;
    THintWindowClass hintWindowClass_;

    // The hint control's widget; a destroyed one reads as none.
    QPointer<QWidget> hintWidget_;
    QMetaObject::Connection hintWidgetGone_;
    bool hintActive_ = false;
    QRect cursorRect_;
    // Where the mouse was last seen, in screen coordinates.
    QPoint lastMousePos_;
    std::unique_ptr<TSingleShotTimer> timer_;
    TimerMode timerMode_ = TimerMode::show;
    std::unique_ptr<THintWindow> window_;
    THintWindowClass windowClass_ = nullptr;  // the factory window_ came from
};

inline THintEngine& HintEngine()
{
    return THintEngine::Instance();
}

}  // namespace tk
