#pragma once
// Message boxes, file dialogs and the wait cursor.

#include "toolkit/core/component.h"

#include <QFlags>
#include <QString>

class QWidget;

namespace tk {

enum class TMessageIcon { Information, Error, Warning, None };

// A modal box owned by owner with caption, text, an OK button and an icon.
void MessageBox(QWidget* owner, const QString& text, const QString& caption, TMessageIcon icon);
// A plain modal box with an OK button and the application's title.
void ShowMessage(const QString& text);

// The kind of a message dialog: its icon and caption.
enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes = 0x01,
    mbNo = 0x02,
    mbOK = 0x04,
    mbCancel = 0x08,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
inline constexpr TMsgDlgButtons mbOKCancel = TMsgDlgButtons{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbYesNo = TMsgDlgButtons{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel = TMsgDlgButtons{mbYes, mbNo, mbCancel};

// A modal box over the active window with text, the icon and caption of
// type ("Warning", "Error", "Information", "Confirm"; the application's
// title for mtCustom) and buttons (OK alone when none are given). Returns
// the modal result of the button pressed (mrOk, mrCancel, mrYes, mrNo,
// mrAbort, mrRetry, mrIgnore). Enter presses OK, else Yes, else the first
// button; Escape and the title bar's close press Cancel, else No, else OK
// when the box has one of them. F1 shows the help topic helpContext (when
// not 0) through the application's help hook.
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);

// Save and open dialogs as components: set the properties, call Execute,
// read FileName. Filters are written "Description|*.ext|Other|*.*".
class TFileDialogBase : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString DefaultExt READ DefaultExt WRITE SetDefaultExt)
    Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString InitialDir READ InitialDir WRITE SetInitialDir)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
public:
    QString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& ext) { defaultExt_ = ext; }
    QString Filter() const { return filter_; }
    void SetFilter(const QString& filter) { filter_ = filter; }
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    QString InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& dir) { initialDir_ = dir; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }

    // Shows the dialog modally; true when the user chose a file (FileName).
    bool Execute();

protected:
    TFileDialogBase(QObject* owner, bool save);

private:
    bool save_;
    QString defaultExt_, filter_, title_, initialDir_, fileName_;
};

class TSaveDialog : public TFileDialogBase {
    Q_OBJECT
    Q_PROPERTY(bool OverwritePrompt READ OverwritePrompt WRITE SetOverwritePrompt)
public:
    explicit TSaveDialog(QObject* owner = nullptr);
    bool OverwritePrompt() const { return overwritePrompt_; }
    void SetOverwritePrompt(bool prompt) { overwritePrompt_ = prompt; }

private:
    bool overwritePrompt_ = true;
    friend class TFileDialogBase;
};

class TOpenDialog : public TFileDialogBase {
    Q_OBJECT
public:
    explicit TOpenDialog(QObject* owner = nullptr);
};

// Qt's filter text for a "Description|*.ext|..." filter.
QString QtFileFilter(const QString& filter);

// The wait cursor over the whole application, nested: StopWait restores
// the cursor when the outermost StartWait ends.
void StartWait();
void StopWait();

// StartWait for a scope, StopWait also when the scope is left by an exception.
class TWaitCursor {
public:
    TWaitCursor() { StartWait(); }
    ~TWaitCursor() { StopWait(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TMsgDlgButtons)
