#pragma once
// The control base: what every control inherits. A control is a Qt widget
// that also is a component; it inherits the widget class first and TControl
// second, and publishes the classic names with TK_CONTROL_PROPERTIES:
//
//     class TLabel : public QLabel, public TControl {
//         Q_OBJECT
//         TK_CONTROL_PROPERTIES
//     public:
//         explicit TLabel(QWidget* parent = nullptr) : QLabel(parent), TControl(this) {}
//     };
//
// Owner: by default the component core of the parent widget (when it has
// one); InsertComponent gives the control another owner, and re-parenting
// the widget keeps it (a form owns the controls of its design wherever they
// sit).
//
// Window handle emulation: "handle allocated" means CreateWnd has run.
// CreateWnd runs on the first show, or earlier through HandleNeeded (a
// parent's first); RecreateWnd re-runs DestroyWnd and CreateWnd on the same
// widget, which is not destroyed. Subclasses override CreateWnd, call the
// base first, and put there the set-up that depends on the properties.
//
// Parent-to-child notifications: when a control's font, colour, enabled
// state, BiDi mode or Ctl3D change, each child control (the nearest controls
// below it, through plain widgets) gets Parent...Changed; a child whose
// Parent... switch is on copies the value and tells its own children. The
// toolkit's font rule is emulated here, not left to Qt's propagation: a
// child with ParentFont (the default) holds a copy of its parent's font;
// changing the child's own font turns ParentFont off; the font is stored
// only when it differs from the parent's.
//
// Focus: Exit (CM_EXIT) fires when the focus leaves the control and all its
// children for another widget of the same window (a move into the control's
// own child editor is no exit; a window losing the focus is none either);
// Enter when it arrives from outside.
//
// Cancel mode: BroadcastCancelMode() calls CancelMode on every control of
// every window; modal forms and message boxes broadcast before they open,
// and so does the application when it is deactivated. The base ends a drag
// and releases mouse capture.
//
// Context menus: a right click, the menu key or Shift+F10 runs
// DoContextPopup, which a control overrides to choose by area; unless it
// handled the request, the control's PopupMenu or the nearest parent's pops
// up (see DoContextPopup).
//
// Dragging: BeginDrag (or DragMode dmAutomatic on a left press) starts the
// internal drag; the moves and the release reach DragMoved and DragReleased.
// A scroll area gets its mouse events on its viewport, so the base watches
// the viewport's mouse events as well (the viewport present at
// construction).
//
// Exceptions: the entries from Qt (events, focus changes, posted messages)
// are guarded once; the dispatchers (DoEnter, DoExit, ...) run the handlers
// unguarded, so an exception reaches the code that called the dispatcher.

#include "toolkit/core/componentcore.h"
#include "toolkit/core/qtsetter.h"
#include "toolkit/ui/controlenums.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/popupmenu.h"

#include <QHash>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace tk {

class TForm;
struct THintInfo;

// A posted message id: private numbers of a control class, from 0x0B000
// (the classic CM_BASE) up, chosen by the class.
using TMessageId = int;

class TControl : public TComponentCore {
public:
    // widget is the control itself (the object under construction).
    explicit TControl(QWidget* widget);
    ~TControl() override;

    QWidget* Widget() const { return widget_; }
    // The nearest control above this one (through plain widgets); nullptr at
    // the top.
    TControl* ParentControl() const;
    // The form this control sits on (its window, when that is a TForm).
    TForm* GetParentForm() const;

    // --- Colour and font --------------------------------------------------
    // clDefault keeps the style's background.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    bool IsColorStored() const { return !parentColor_; }

    TFont* Font() const { return font_; }
    // Copies font (nullptr: nothing); turns ParentFont off.
    void SetFont(const TFont* font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    // Stored only when it differs from the parent control's font.
    bool IsFontStored() const;

    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool ctl3D);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool parentCtl3D);
    bool IsCtl3DStored() const { return !parentCtl3D_; }

    // Applied in CreateWnd to controls with a frame (scroll areas, edits).
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);

    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode mode);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool parentBiDiMode);
    bool IsBiDiModeStored() const { return !parentBiDiMode_; }
    // Right-to-left reading, alignment and scroll bar on the left: only in a
    // right-to-left locale (LocaleFacts().RightToLeft) and for the modes that
    // ask for it.
    bool UseRightToLeftReading() const;
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftScrollBar() const;

    // Stored; Qt paints every widget double-buffered anyway.
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool on) { doubleBuffered_ = on; }
    // When on, the control does not fill its background with Color: the
    // parent shows through.
    bool ParentBackground() const { return parentBackground_; }
    void SetParentBackground(bool on);

    // --- State ------------------------------------------------------------
    // The control's own switch (a control inside a disabled group still
    // reads true).
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    bool TabStop() const;
    void SetTabStop(bool tabStop);

    // --- Painting and focus -------------------------------------------------
    // Marks the whole control for repainting.
    virtual void Invalidate();
    // Paints what is marked now.
    void Update();
    // Invalidate and Update.
    void Repaint();
    // Raises EInvalidOperation "Cannot focus a disabled or invisible window"
    // when CanFocus is false.
    void SetFocus();
    // The control and every widget up to its window are visible and enabled.
    bool CanFocus() const;
    bool Focused() const;
    // Mouse capture: every mouse event goes to this control until released.
    void SetMouseCapture(bool capture);
    bool MouseCapture() const;

    // --- Hints, menus, cursor, help, input method --------------------------
    // Shown by the application's hint engine, never as Qt's tool tip.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint) { hint_ = hint; }
    // With ParentShowHint the parent control's ShowHint applies.
    bool ShowHint() const;
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool on) { parentShowHint_ = on; }
    bool IsShowHintStored() const { return !parentShowHint_; }
    // The hint engine's steps (hintengine.h); the bases change nothing.
    // CM_HINTSHOWPAUSE: the pause before this control's hint may be
    // changed; hintWasActive tells whether a hint is active (the pause is
    // then the short one). CM_HINTSHOW: the hint about to show may be
    // changed; a non-zero result shows none.
    virtual void CMHintShowPause(bool hintWasActive, int& pause);
    virtual int CMHintShow(THintInfo& info);

    TPopupMenu* PopupMenu() const { return popupMenu_; }
    // Cleared when the menu is freed.
    void SetPopupMenu(TPopupMenu* menu);
    // This control's menu, else the nearest parent control's; nullptr.
    TPopupMenu* GetPopupMenu() const;

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int context) { helpContext_ = context; }
    // Stored only: Qt chooses the input method, so applying them is a no-op.
    QString ImeName() const { return imeName_; }
    void SetImeName(const QString& name) { imeName_ = name; }
    TImeMode ImeMode() const { return imeMode_; }
    void SetImeMode(TImeMode mode) { imeMode_ = mode; }

    // --- Dragging -----------------------------------------------------------
    // Stored; docking (dkDock) is not emulated, a drag of either kind is the
    // internal drag below.
    TDragKind DragKind() const { return dragKind_; }
    void SetDragKind(TDragKind kind) { dragKind_ = kind; }
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    // Starts a drag of this control: at once, or once the mouse moved
    // threshold pixels with a button down (-1: the platform's distance).
    // The drag is a state of the control (no QDrag): it ends on the button's
    // release (dropped), on EndDrag or on cancel mode (not dropped).
    void BeginDrag(bool immediate, int threshold = -1);
    void EndDrag(bool dropped);
    bool Dragging() const { return dragState_ == DragState::dragging; }
    bool DragPending() const { return dragState_ == DragState::pending; }

    // --- Geometry -----------------------------------------------------------
    int Left() const;
    void SetLeft(int left);
    int Top() const;
    void SetTop(int top);
    int Width() const;
    void SetWidth(int width);
    int Height() const;
    void SetHeight(int height);
    // Every geometry setter above goes through SetBounds, so a control that
    // keeps rules about its size (a window's constraints) overrides it. A
    // window's left and top are those of its frame.
    virtual void SetBounds(int left, int top, int width, int height);
    // The client area: the viewport of a scroll area, else the contents rect.
    int ClientWidth() const;
    void SetClientWidth(int width);
    int ClientHeight() const;
    void SetClientHeight(int height);
    QPoint ClientToScreen(const QPoint& point) const;
    QPoint ScreenToClient(const QPoint& point) const;

    // --- Window handle emulation --------------------------------------------
    bool HandleAllocated() const { return handleAllocated_; }
    // Runs CreateWnd (parents first) unless it ran.
    void HandleNeeded();
    // DestroyWnd + CreateWnd on the same widget; nothing while no handle.
    void RecreateWnd();

    // --- Posted messages ----------------------------------------------------
    // Posts message to this control; PostedMessage receives it from the
    // event loop. Removing drops every pending one of that id.
    void PostMessage(TMessageId message, qintptr param = 0);
    void RemovePostedMessages(TMessageId message);
    bool MessagePending(TMessageId message) const;

    // The cancel-mode reaction (WM_CANCELMODE); see BroadcastCancelMode.
    virtual void CancelMode();

    // --- Events (fired by the dispatchers below) ----------------------------
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    std::function<void(QObject* sender)> OnStartDrag;
    std::function<void(QObject* sender, bool dropped)> OnEndDrag;
    // A context menu request; see DoContextPopup.
    std::function<void(QObject* sender, const QPoint& mousePos, bool& handled)> OnContextPopup;

protected:
    // Set-up that depends on the properties; the base flags the handle
    // allocated and applies border style and layout direction.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void PostedMessage(TMessageId message, qintptr param);

    // This control's own changes (CM_FONTCHANGED ...): the bases apply the
    // value to the widget and tell the children.
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void EnabledChanged();
    virtual void BiDiModeChanged();
    virtual void Ctl3DChanged();
    // The parent control's changes (CM_PARENTFONTCHANGED ...): the bases
    // copy the parent's value when the Parent... switch is on.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentEnabledChanged();
    virtual void ParentBiDiModeChanged();
    virtual void ParentCtl3DChanged();

    // Focus dispatchers (CM_ENTER, CM_EXIT): fire OnEnter and OnExit.
    virtual void DoEnter();
    virtual void DoExit();
    // A context menu request (the right button, the menu key, Shift+F10) on
    // the client area; mousePos in client coordinates, (-1, -1) from the
    // keyboard. Fires OnContextPopup. Unless handled, GetPopupMenu's menu,
    // when AutoPopup, pops up for this control (its PopupComponent) at the
    // mouse, or from the keyboard at the client area's top-left; without
    // such a menu the request goes on to the widget and its parents.
    virtual void DoContextPopup(const QPoint& mousePos, bool& handled);

    // A running drag of this control moved to globalPos (also the move that
    // started it); the base does nothing. A control that accepts drops on
    // itself asks its drag-over handler here.
    virtual void DragMoved(const QPoint& globalPos);
    // The button went up during a drag at globalPos (Dragging() is already
    // false); the result is whether the drop was taken, passed on to
    // OnEndDrag as dropped. The base takes it.
    virtual bool DragReleased(const QPoint& globalPos);

    void Notification(TComponentCore* component, TOperation operation) override;

private:
    enum class DragState { none, pending, dragging };
    class EventFilter;
    friend class EventFilter;
    friend void DispatchFocusChange(QWidget* old, QWidget* now);

    // The child controls one level down (through plain widgets).
    void ForEachChildControl(const std::function<void(TControl*)>& visit) const;
    void AdoptParentValues();
    void ApplyFont();
    void ApplyColor();
    void ApplyFrame();
    void ApplyLayoutDirection();
    void DeliverPosted(TMessageId message, qintptr param);
    // The reaction to a context menu request at globalPos (ignored from the
    // keyboard): DoContextPopup, then the menu. True when the request was
    // handled or a menu popped up.
    bool ContextPopup(const QPoint& globalPos, bool byKeyboard);
    // Mouse events seen by the event filter, for a pending or running drag.
    void TrackDrag(int eventType, const QPoint& globalPos);

    QWidget* widget_;
    std::unique_ptr<EventFilter> filter_;
    TFont* font_;
    TColor color_ = clDefault;
    bool parentColor_ = false;
    bool parentFont_ = true;
    bool adoptingFont_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
    bool doubleBuffered_ = false;
    bool parentBackground_ = false;
    QString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TPopupMenu* popupMenu_ = nullptr;
    TCursor cursor_ = crDefault;
    int helpContext_ = 0;
    QString imeName_;
    TImeMode imeMode_ = imDontCare;
    TDragKind dragKind_ = dkDrag;
    TDragMode dragMode_ = dmManual;
    DragState dragState_ = DragState::none;
    QPoint dragOrigin_;
    int dragThreshold_ = 0;
    bool handleAllocated_ = false;
    QHash<TMessageId, int> pending_;
};

// The control of widget (nullptr for a widget that is no control).
TControl* ControlOf(const QObject* widget);

// Calls CancelMode on every control of every top-level window.
void BroadcastCancelMode();

// Runs a control's event handler from a Qt entry (a signal's slot); an
// exception goes to the application's handler instead of into Qt's event
// loop.
void FireEvent(const TNotifyEvent& handler, QObject* sender);

}  // namespace tk

// The published properties of every control: the component's Name and Tag
// and the control base's, with their stored rules and their Qt-named
// setters for code uic generates (toolkit/core/qtsetter.h; Font, Color and
// PopupMenu have no designer editor and get none). Put it right after
// Q_OBJECT (it leaves the access private, as Q_OBJECT does).
//
// Setters that are also QWidget's: setEnabled runs the virtual SetEnabled
// (QWidget::setEnabled, then EnabledChanged) and hides QWidget's for calls
// through a control's type, with the same effect plus the notification;
// setCursor(TCursor) joins QWidget::setCursor(const QCursor&) as an
// overload. Visible gets no setVisible: QWidget::setVisible, which uic then
// calls, is virtual and is what SetVisible does, and a second one would
// override it.
#define TK_CONTROL_PROPERTIES                                                                                \
    TK_CONTROL_PROPERTIES_BEFORE_BORDER_ TK_CONTROL_BORDER_STYLE_ TK_CONTROL_PROPERTIES_AFTER_BORDER_

// The same for a window, which publishes a BorderStyle of its own (the
// window frame, formenums.h).
#define TK_WINDOW_PROPERTIES TK_CONTROL_PROPERTIES_BEFORE_BORDER_ TK_CONTROL_PROPERTIES_AFTER_BORDER_

#define TK_CONTROL_PROPERTIES_BEFORE_BORDER_                                                                 \
    TK_COMPONENT                                                                                             \
    TK_QT_SETTER(Name, const QString&)                                                                       \
    TK_QT_SETTER(Tag, qint64)                                                                                \
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)                                                         \
    TK_QT_SETTER(Hint, const QString&)                                                                       \
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)                                                \
    TK_QT_SETTER(ShowHint, bool)                                                                             \
    Q_PROPERTY(bool ParentShowHint READ ParentShowHint WRITE SetParentShowHint)                              \
    TK_QT_SETTER(ParentShowHint, bool)                                                                       \
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)                                                   \
    TK_QT_SETTER(Enabled, bool)                                                                              \
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)                                                   \
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop STORED false)                                      \
    TK_QT_SETTER(TabStop, bool)                                                                              \
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)                                          \
    TK_QT_SETTER(ParentFont, bool)                                                                           \
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)                                                      \
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)                                       \
    TK_QT_SETTER(ParentColor, bool)                                                                          \
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)                                                   \
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE SetParentCtl3D)                                       \
    TK_QT_SETTER(ParentCtl3D, bool)                                                                          \
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)                                                         \
    TK_QT_SETTER(Ctl3D, bool)

#define TK_CONTROL_BORDER_STYLE_                                                                             \
    Q_PROPERTY(tk::TControlEnums::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)            \
    TK_QT_SETTER(BorderStyle, tk::TControlEnums::TBorderStyle)                                               \
    Q_CLASSINFO("Default:BorderStyle", "bsSingle")

#define TK_CONTROL_PROPERTIES_AFTER_BORDER_                                                                  \
    Q_PROPERTY(bool ParentBiDiMode READ ParentBiDiMode WRITE SetParentBiDiMode)                              \
    TK_QT_SETTER(ParentBiDiMode, bool)                                                                       \
    Q_PROPERTY(tk::TControlEnums::TBiDiMode BiDiMode READ BiDiMode WRITE SetBiDiMode)                        \
    TK_QT_SETTER(BiDiMode, tk::TControlEnums::TBiDiMode)                                                     \
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)                              \
    TK_QT_SETTER(DoubleBuffered, bool)                                                                       \
    Q_PROPERTY(bool ParentBackground READ ParentBackground WRITE SetParentBackground)                        \
    TK_QT_SETTER(ParentBackground, bool)                                                                     \
    Q_PROPERTY(tk::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)                                  \
    Q_PROPERTY(tk::TControlEnums::TCursor Cursor READ Cursor WRITE SetCursor)                                \
    TK_QT_SETTER(Cursor, tk::TControlEnums::TCursor)                                                         \
public:                                                                                                     \
    using QWidget::setCursor;                                                                                \
                                                                                                             \
private:                                                                                                    \
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)                                        \
    TK_QT_SETTER(HelpContext, int)                                                                           \
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)                                                \
    TK_QT_SETTER(ImeName, const QString&)                                                                    \
    Q_PROPERTY(tk::TControlEnums::TImeMode ImeMode READ ImeMode WRITE SetImeMode)                            \
    TK_QT_SETTER(ImeMode, tk::TControlEnums::TImeMode)                                                       \
    Q_PROPERTY(tk::TControlEnums::TDragKind DragKind READ DragKind WRITE SetDragKind)                        \
    TK_QT_SETTER(DragKind, tk::TControlEnums::TDragKind)                                                     \
    Q_PROPERTY(tk::TControlEnums::TDragMode DragMode READ DragMode WRITE SetDragMode)                        \
    TK_QT_SETTER(DragMode, tk::TControlEnums::TDragMode)                                                     \
    Q_PROPERTY(int Left READ Left WRITE SetLeft STORED false)                                                \
    TK_QT_SETTER(Left, int)                                                                                  \
    Q_PROPERTY(int Top READ Top WRITE SetTop STORED false)                                                   \
    TK_QT_SETTER(Top, int)                                                                                   \
    Q_PROPERTY(int Width READ Width WRITE SetWidth STORED false)                                             \
    TK_QT_SETTER(Width, int)                                                                                 \
    Q_PROPERTY(int Height READ Height WRITE SetHeight STORED false)                                          \
    TK_QT_SETTER(Height, int)                                                                                \
    Q_PROPERTY(int ClientWidth READ ClientWidth WRITE SetClientWidth STORED false)                           \
    TK_QT_SETTER(ClientWidth, int)                                                                           \
    Q_PROPERTY(int ClientHeight READ ClientHeight WRITE SetClientHeight STORED false)                        \
    TK_QT_SETTER(ClientHeight, int)                                                                          \
    Q_CLASSINFO("Default:ParentFont", "True")                                                                \
    Q_CLASSINFO("Default:ParentColor", "False")                                                              \
    Q_CLASSINFO("Default:ParentCtl3D", "True")                                                               \
    Q_CLASSINFO("Default:Ctl3D", "True")                                                                     \
    Q_CLASSINFO("Default:ParentBiDiMode", "True")                                                            \
    Q_CLASSINFO("Default:BiDiMode", "bdLeftToRight")                                                         \
    Q_CLASSINFO("Default:ParentShowHint", "True")                                                            \
    Q_CLASSINFO("Default:DoubleBuffered", "False")                                                           \
    Q_CLASSINFO("Default:ParentBackground", "False")                                                         \
    Q_CLASSINFO("Default:Cursor", "crDefault")                                                               \
    Q_CLASSINFO("Default:HelpContext", "0")                                                                  \
    Q_CLASSINFO("Default:ImeMode", "imDontCare")                                                             \
    Q_CLASSINFO("Default:DragKind", "dkDrag")                                                                \
    Q_CLASSINFO("Default:DragMode", "dmManual")                                                              \
    Q_CLASSINFO("Default:Enabled", "True")                                                                   \
    Q_CLASSINFO("Default:Visible", "True")                                                                   \
public:                                                                                                      \
    Q_INVOKABLE bool IsFontStored() const                                                                    \
    {                                                                                                        \
        return tk::TControl::IsFontStored();                                                                 \
    }                                                                                                        \
    Q_INVOKABLE bool IsColorStored() const                                                                   \
    {                                                                                                        \
        return tk::TControl::IsColorStored();                                                                \
    }                                                                                                        \
    Q_INVOKABLE bool IsCtl3DStored() const                                                                   \
    {                                                                                                        \
        return tk::TControl::IsCtl3DStored();                                                                \
    }                                                                                                        \
    Q_INVOKABLE bool IsBiDiModeStored() const                                                                \
    {                                                                                                        \
        return tk::TControl::IsBiDiModeStored();                                                             \
    }                                                                                                        \
    Q_INVOKABLE bool IsShowHintStored() const                                                                \
    {                                                                                                        \
        return tk::TControl::IsShowHintStored();                                                             \
    }                                                                                                        \
                                                                                                             \
private:
