#include "toolkit/ui/dialogs.h"

#include "toolkit/ui/control.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/dialogconsts.h"
#include "toolkit/ui/formenums.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <initializer_list>

namespace tk {

void MessageBox(QWidget* owner, const QString& text, const QString& caption, TMessageIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case TMessageIcon::Information:
        qtIcon = QMessageBox::Information;
        break;
    case TMessageIcon::Error:
        qtIcon = QMessageBox::Critical;
        break;
    case TMessageIcon::Warning:
        qtIcon = QMessageBox::Warning;
        break;
    case TMessageIcon::None:
        break;
    }
    QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, owner);
    BroadcastCancelMode();
    box.exec();
}

void ShowMessage(const QString& text)
{
    MessageBox(QApplication::activeWindow(), text, Application().Title(), TMessageIcon::None);
}

namespace {

// F1 in a message dialog shows its help topic.
class THelpKey : public QObject {
public:
    explicit THelpKey(int context) : context_(context) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
            return false;
        Guarded([this] { Application().HelpContext(context_); });
        return true;
    }

private:
    int context_;
};

struct TDialogButton {
    TMsgDlgBtn button;
    QMessageBox::StandardButton standard;
    int result;
};

// In the order the buttons are offered.
constexpr TDialogButton kDialogButtons[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
};

QString DialogCaption(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return LoadResString(&SMsgDlgWarning);
    case TMsgDlgType::mtError:
        return LoadResString(&SMsgDlgError);
    case TMsgDlgType::mtInformation:
        return LoadResString(&SMsgDlgInformation);
    case TMsgDlgType::mtConfirmation:
        return LoadResString(&SMsgDlgConfirm);
    case TMsgDlgType::mtCustom:
        break;
    }
    return Application().Title();
}

QMessageBox::Icon DialogIcon(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return QMessageBox::Warning;
    case TMsgDlgType::mtError:
        return QMessageBox::Critical;
    case TMsgDlgType::mtInformation:
        return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation:
        return QMessageBox::Question;
    case TMsgDlgType::mtCustom:
        break;
    }
    return QMessageBox::NoIcon;
}

// The first of candidates that buttons hold; 0 for none.
TMsgDlgBtn FirstOf(TMsgDlgButtons buttons, std::initializer_list<TMsgDlgBtn> candidates)
{
    for (TMsgDlgBtn candidate : candidates)
        if (buttons.testFlag(candidate))
            return candidate;
    return TMsgDlgBtn(0);
}

}  // namespace

int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    if (!buttons)
        buttons = mbOK;
    QMessageBox box(DialogIcon(type), DialogCaption(type), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const TMsgDlgBtn defaultButton =
        FirstOf(buttons, {mbOK, mbYes, mbRetry, mbAbort, mbIgnore, mbNo, mbCancel});
    const TMsgDlgBtn escapeButton = FirstOf(buttons, {mbCancel, mbNo, mbOK});
    for (const TDialogButton& entry : kDialogButtons) {
        if (!buttons.testFlag(entry.button))
            continue;
        QPushButton* button = box.addButton(entry.standard);
        if (entry.button == defaultButton)
            box.setDefaultButton(button);
        if (entry.button == escapeButton)
            box.setEscapeButton(button);
    }
    THelpKey help(helpContext);
    box.installEventFilter(&help);
    BroadcastCancelMode();
    box.exec();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const TDialogButton& entry : kDialogButtons)
        if (entry.standard == pressed)
            return entry.result;
    return mrCancel;
}

QString QtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

TFileDialogBase::TFileDialogBase(QObject* owner, bool save) : TComponent(owner), save_(save) {}

bool TFileDialogBase::Execute()
{
    QFileDialog dialog(QApplication::activeWindow(), title_, initialDir_, QtFileFilter(filter_));
    dialog.setObjectName(objectName());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save_ ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(defaultExt_);
    if (auto* saveDialog = qobject_cast<TSaveDialog*>(this); saveDialog && !saveDialog->OverwritePrompt())
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!fileName_.isEmpty())
        dialog.selectFile(fileName_);
    BroadcastCancelMode();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName_ = dialog.selectedFiles().first();
    return true;
}

TSaveDialog::TSaveDialog(QObject* owner) : TFileDialogBase(owner, true) {}

TOpenDialog::TOpenDialog(QObject* owner) : TFileDialogBase(owner, false) {}

namespace {
int waitDepth = 0;
}

void StartWait()
{
    if (waitDepth++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void StopWait()
{
    if (waitDepth > 0 && --waitDepth == 0)
        QApplication::restoreOverrideCursor();
}

}  // namespace tk
