#pragma once
// A designed window. Shown modally it returns its modal result: a control
// that sets ModalResult closes it with that result; every other way of
// closing (the title bar, Escape) gives mrCancel.

#include "toolkit/ui/control.h"

#include <QDialog>

namespace tk {

enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TForm : public QDialog {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TForm(QWidget* parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    // A fixed client area (the window cannot be resized).
    void SetClientSize(int width, int height);

    int ModalResult() const { return modalResult_; }
    // A result other than mrNone closes a modal window with it.
    void SetModalResult(int result);
    // Shows the window modally, centred on the active window, and returns
    // its modal result.
    int ShowModal();

    TNotifyEvent OnShow;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    int modalResult_ = mrNone;
    TK_CONTROL_ACCESSORS
};

}  // namespace tk
