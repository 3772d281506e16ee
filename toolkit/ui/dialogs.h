#pragma once
// Message boxes, file dialogs and the wait cursor.

#include "toolkit/core/component.h"

#include <QString>

class QWidget;

namespace tk {

enum class TMessageIcon { Information, Error, Warning, None };

// A modal box owned by owner with caption, text, an OK button and an icon.
void MessageBox(QWidget* owner, const QString& text, const QString& caption, TMessageIcon icon);
// A plain modal box with an OK button and the application's title.
void ShowMessage(const QString& text);

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
