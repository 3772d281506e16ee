#include "toolkit/ui/stdctrls.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/forms.h"

#include <QKeySequence>

namespace tk {

TLabel::TLabel(QWidget* parent) : QLabel(parent), TControl(this) {}

TButton::TButton(QWidget* parent) : QPushButton(parent), TControl(this)
{
    // Enter goes to the form, which clicks the focused or the default
    // button; an auto-default button would take it for any focused button.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { Guarded([this] { Clicked(); }); });
}

void TButton::Clicked()
{
    TForm* form = GetParentForm();
    if (form && modalResult_ != mrNone)
        form->RunModalClick(modalResult_, [this] {
            if (OnClick)
                OnClick(this);
        });
    else if (OnClick)
        OnClick(this);
}

void TButton::SetShortCut(int shortCut)
{
    shortCut_ = shortCut;
    setShortcut(shortCut ? QKeySequence(QKeyCombination::fromCombined(shortCut)) : QKeySequence());
}

void TButton::Click()
{
    if (isEnabled())
        click();
}

TXPButton::TXPButton(QWidget* parent) : TButton(parent)
{
    setStyleSheet(QStringLiteral(
        "tk--TXPButton { border: 1px solid #7f9db9; border-radius: 3px; padding: 3px 8px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #d8e4f8); }"
        "tk--TXPButton:hover { border-color: #f9b34a; }"
        "tk--TXPButton:pressed { background: #c9d8f3; }"
        "tk--TXPButton:disabled { color: #a0a0a0; background: #f0f0f0; border-color: #c0c0c0; }"));
}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent), TControl(this)
{
    connect(this, &QLineEdit::textChanged, this, [this] { FireEvent(OnChange, this); });
}

void TEdit::SetPasswordChar(QChar passwordChar)
{
    passwordChar_ = passwordChar;
    if (passwordChar.isNull()) {
        setEchoMode(QLineEdit::Normal);
        setStyleSheet(QString());
        return;
    }
    setEchoMode(QLineEdit::Password);
    setStyleSheet(
        QStringLiteral("QLineEdit { lineedit-password-character: %1; }").arg(passwordChar.unicode()));
}

TGroupBox::TGroupBox(QWidget* parent) : QGroupBox(parent), TControl(this) {}

}  // namespace tk
