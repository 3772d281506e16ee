#pragma once
// A designed window (a QDialog).
//
// Modal result: shown modally it returns its modal result. A control that
// sets ModalResult closes it with that result; a button with a ModalResult
// sets it when clicked and closes the window after its OnClick, unless the
// handler set ModalResult back to mrNone; every other way of closing (the
// title bar, Escape without a Cancel button) gives mrCancel.
//
// Frame and size: BorderStyle chooses the frame (formenums.h). The sizeable
// styles let the user resize the window within Constraints; the others keep
// the size code gives it. Code sizes a window with SetClientSize or the
// geometry setters (SetBounds, SetWidth...), always within Constraints.
// Changing the frame of a visible window takes effect when it is shown next.
//
// Position, applied each time the window is shown: poScreenCenter centres it
// in the work area of the screen of the active window (the primary screen
// without one), poDesktopCenter on the whole desktop, poMainFormCenter on the
// window that is active (else as poScreenCenter), poOwnerFormCenter on the
// window of its owner (else as poMainFormCenter); poDesigned and the default
// placements leave it where code put it, or where the system places it.
//
// Keys that reach the window (the focused control did not take them):
// Enter clicks the focused button, else the Default button; Escape clicks
// the Cancel button, else closes with mrCancel; F1 shows the help topic of
// the focused control's HelpContext, or of its nearest parent that has
// one, or of the window's, through the application's help hook. A button
// counts only while it can take the focus (visible and enabled).

#include "toolkit/ui/control.h"
#include "toolkit/ui/formenums.h"
#include "toolkit/ui/sizeconstraints.h"

#include <QDialog>
#include <QPointer>
#include <functional>

namespace tk {

class TButton;

class TForm : public QDialog, public TControl {
    Q_OBJECT
    TK_WINDOW_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(tk::TFormEnums::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(tk::TFormEnums::TPosition Position READ Position WRITE SetPosition)
    Q_PROPERTY(tk::TSizeConstraints* Constraints READ Constraints WRITE SetConstraints)
    // A window has no parent font to take: its own is stored.
    Q_CLASSINFO("Default:ParentFont", "False")
    Q_CLASSINFO("Default:BorderStyle", "bsSizeable")
    Q_CLASSINFO("Default:Position", "poDesigned")
public:
    explicit TForm(QWidget* parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    // The client area's size (the window's, as a window has no border of
    // its own inside), within Constraints.
    void SetClientSize(int width, int height);

    // The window frame; hides the control base's border style, which a
    // window does not have.
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    // True for the frames the user may resize.
    bool Sizeable() const;
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TSizeConstraints* Constraints() const { return constraints_; }
    void SetConstraints(const TSizeConstraints* constraints);
    // Within Constraints; fixed frames keep the new size.
    void SetBounds(int left, int top, int width, int height) override;

    // The control that has the focus in this window, or the one to focus
    // when the window is shown; nullptr for none.
    TControl* ActiveControl() const;
    // A control of this window; focused now when the window is visible and
    // the control can take the focus, else when the window is shown.
    // EInvalidOperation when control sits on another window.
    void SetActiveControl(TControl* control);

    int ModalResult() const { return modalResult_; }
    // A result other than mrNone closes a modal window with it (after the
    // click handler when set from a button's click).
    void SetModalResult(int result);
    // Shows the window modally and returns its modal result. Other windows
    // get cancel mode first.
    int ShowModal();
    // A click of a button whose ModalResult is result: sets ModalResult,
    // runs click (the button's OnClick), then closes with ModalResult
    // unless it is mrNone again. When click raises, ModalResult returns to
    // mrNone and the window stays open.
    void RunModalClick(int result, const std::function<void()>& click);

    // Shows the help topic of the focused control (see the header comment);
    // false when no context was found or no help hook took it.
    bool ShowHelp();

    TNotifyEvent OnShow;

protected:
    void setVisible(bool visible) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    void ApplyWindowFlags();
    void ApplySizeLimits();
    void ApplyPosition();
    // The window to centre on for poMainFormCenter and poOwnerFormCenter;
    // nullptr for none.
    QWidget* CentreWindow() const;
    // The Enter and Escape reactions: clicks the focused or the default
    // button, or the first button that can take the focus and has role;
    // true when a button was clicked.
    bool ClickDefaultButton();
    bool ClickFirstButton(bool (TButton::*role)() const);

    int modalResult_ = mrNone;
    bool holdClose_ = false;
    QPointer<QWidget> activeControl_;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    bool flagsPending_ = false;
    TPosition position_ = poDesigned;
    TSizeConstraints* constraints_;
};

}  // namespace tk
