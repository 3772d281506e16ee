#include "toolkit/ui/forms.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/stdctrls.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QShowEvent>

namespace tk {

TForm::TForm(QWidget* parent) : QDialog(parent), TControl(this), constraints_(new TSizeConstraints(this))
{
    SetParentFont(false);
    constraints_->OnChange = [this] { ApplySizeLimits(); };
    ApplyWindowFlags();
    ApplySizeLimits();
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

// --- Modal result -------------------------------------------------------------

void TForm::SetModalResult(int result)
{
    modalResult_ = result;
    if (result != mrNone && isVisible() && !holdClose_)
        QDialog::done(result == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

void TForm::RunModalClick(int result, const std::function<void()>& click)
{
    auto failed = qScopeGuard([this] { modalResult_ = mrNone; });
    {
        // The handler may still take the result back (ModalResult = mrNone).
        const QScopedValueRollback holding(holdClose_, true);
        modalResult_ = result;
        click();
    }
    failed.dismiss();
    SetModalResult(modalResult_);
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

// --- Keys -------------------------------------------------------------------------

bool TForm::ClickFirstButton(bool (TButton::*role)() const)
{
    for (TButton* button : findChildren<TButton*>()) {
        if (button->window() == this && button->CanFocus() && (button->*role)()) {
            button->Click();
            return true;
        }
    }
    return false;
}

bool TForm::ClickDefaultButton()
{
    // The focused button takes Enter before the default one.
    if (auto* focused = qobject_cast<TButton*>(focusWidget()); focused && focused->CanFocus()) {
        focused->Click();
        return true;
    }
    return ClickFirstButton(&TButton::Default);
}

bool TForm::ShowHelp()
{
    int context = 0;
    const TControl* control = ActiveControl();
    for (; control && context == 0; control = control->ParentControl())
        context = control->HelpContext();
    if (context == 0)
        context = HelpContext();
    return context != 0 && Application().HelpContext(context);
}

void TForm::keyPressEvent(QKeyEvent* event)
{
    bool handled = false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        Guarded([&] {
            switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                handled = ClickDefaultButton();
                break;
            case Qt::Key_Escape:
                handled = ClickFirstButton(&TButton::Cancel);
                break;
            case Qt::Key_F1:
                ShowHelp();
                handled = true;
                break;
            default:
                break;
            }
        });
    }
    if (handled)
        event->accept();
    else
        QDialog::keyPressEvent(event);
}

}  // namespace tk
