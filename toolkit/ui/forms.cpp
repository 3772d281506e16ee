#include "toolkit/ui/forms.h"

#include <QApplication>
#include <QScreen>
#include <QShowEvent>

namespace tk {

TForm::TForm(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
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
    if (!event->spontaneous())
        FireEvent(OnShow, this);
}

}  // namespace tk
