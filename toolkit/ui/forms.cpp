#include "toolkit/ui/forms.h"

#include "toolkit/core/exceptions.h"

#include <QApplication>
#include <QScreen>
#include <QShowEvent>

namespace tk {

TForm::TForm(QWidget* parent) : QDialog(parent), TControl(this)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetParentFont(false);
}

TControl* TForm::ActiveControl() const
{
    for (QWidget* w = focusWidget(); w && w != this; w = w->parentWidget())
        if (TControl* control = ControlOf(w))
            return control;
    return activeControl_ ? ControlOf(activeControl_) : nullptr;
}

void TForm::SetActiveControl(TControl* control)
{
    if (control && control->Widget()->window() != this)
        throw EInvalidOperation(QStringLiteral("Invalid control for the active control of %1").arg(Name()));
    activeControl_ = control ? control->Widget() : nullptr;
    if (control && isVisible() && control->CanFocus())
        control->SetFocus();
}

void TForm::SetClientSize(int width, int height)
{
    setFixedSize(width, height);
}

void TForm::SetModalResult(int result)
{
    modalResult_ = result;
    if (result != mrNone && isVisible())
        QDialog::done(result == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

void TForm::done(int result)
{
    if (modalResult_ == mrNone)
        modalResult_ = result == QDialog::Accepted ? mrOk : mrCancel;
    QDialog::done(result);
}

int TForm::ShowModal()
{
    modalResult_ = mrNone;
    BroadcastCancelMode();
    // Centred on the window that was active, as the host's dialogs are.
    if (QWidget* active = QApplication::activeWindow(); active && active != this)
        move(active->geometry().center() - rect().center());
    exec();
    if (modalResult_ == mrNone)
        modalResult_ = mrCancel;
    return modalResult_;
}

void TForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous() && activeControl_ && ControlOf(activeControl_)->CanFocus())
        ControlOf(activeControl_)->SetFocus();
    if (!event->spontaneous())
        FireEvent(OnShow, this);
}

}  // namespace tk
