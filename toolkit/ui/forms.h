#pragma once
// A designed window. Shown modally it returns its modal result: a control
// that sets ModalResult closes it with that result; every other way of
// closing (the title bar, Escape) gives mrCancel.

#include "toolkit/ui/control.h"

#include <QDialog>
#include <QPointer>

namespace tk {

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public QDialog, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    // A window has no parent font to take: its own is stored.
    Q_CLASSINFO("Default:ParentFont", "False")
public:
    explicit TForm(QWidget* parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    // A fixed client area (the window cannot be resized).
    void SetClientSize(int width, int height);

    // The control that has the focus in this window, or the one to focus
    // when the window is shown; nullptr for none.
    TControl* ActiveControl() const;
    // A control of this window; focused now when the window is visible and
    // the control can take the focus, else when the window is shown.
    // EInvalidOperation when control sits on another window.
    void SetActiveControl(TControl* control);

    int ModalResult() const { return modalResult_; }
    // A result other than mrNone closes a modal window with it.
    void SetModalResult(int result);
    // Shows the window modally, centred on the active window, and returns
    // its modal result. Other windows get cancel mode first.
    int ShowModal();

    TNotifyEvent OnShow;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    int modalResult_ = mrNone;
    QPointer<QWidget> activeControl_;
};

}  // namespace tk
