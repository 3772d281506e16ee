#pragma once
// Labels, buttons, edits and group boxes with the published names that
// designed windows and translation files use.

#include "toolkit/ui/control.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tk {

class TLabel : public QLabel, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
public:
    explicit TLabel(QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    bool WordWrap() const { return wordWrap(); }
    void SetWordWrap(bool wrap) { setWordWrap(wrap); }
};

// A push button. On a form, Default makes Enter click it and Cancel makes
// Escape click it (see forms.h); a ModalResult other than mrNone is set on
// the form by a click, before OnClick, and closes a modal form after it.
class TButton : public QPushButton, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE SetCancel)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_CLASSINFO("Default:Default", "False")
    Q_CLASSINFO("Default:Cancel", "False")
    Q_CLASSINFO("Default:ModalResult", "0")
public:
    explicit TButton(QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }
    // A QKeyCombination::toCombined() value; 0 for none.
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int shortCut);
    // Drawn as the default button too.
    bool Default() const { return isDefault(); }
    void SetDefault(bool on) { setDefault(on); }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Presses the button as a click would (fires OnClick when enabled).
    void Click();

    TNotifyEvent OnClick;

private:
    void Clicked();

    int shortCut_ = 0;
    bool cancel_ = false;
    int modalResult_ = 0;
};

// The flat button with a gradient face of designed windows.
class TXPButton : public TButton {
    Q_OBJECT
public:
    explicit TXPButton(QWidget* parent = nullptr);
};

class TEdit : public QLineEdit, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(QChar PasswordChar READ PasswordChar WRITE SetPasswordChar)
public:
    explicit TEdit(QWidget* parent = nullptr);
    QString Text() const { return text(); }
    void SetText(const QString& text) { setText(text); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    // The character shown for each typed one; a null character shows the text.
    QChar PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(QChar passwordChar);

    // OnExit (the control base's) fires when the focus moves from this box
    // to another control of the window, not when the window itself loses
    // the focus.
    TNotifyEvent OnChange;

private:
    QChar passwordChar_;
};

class TGroupBox : public QGroupBox, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TGroupBox(QWidget* parent = nullptr);
    QString Caption() const { return title(); }
    void SetCaption(const QString& caption) { setTitle(caption); }
};

}  // namespace tk
