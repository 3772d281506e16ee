#include "toolkit/ui/dialogs.h"

#include "toolkit/ui/control.h"

#include "toolkit/core/application.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tk {

void MessageBox(QWidget* owner, const QString& text, const QString& caption, TMessageIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case TMessageIcon::Information: qtIcon = QMessageBox::Information; break;
    case TMessageIcon::Error: qtIcon = QMessageBox::Critical; break;
    case TMessageIcon::Warning: qtIcon = QMessageBox::Warning; break;
    case TMessageIcon::None: break;
    }
    QMessageBox box(qtIcon, caption, text, QMessageBox::Ok, owner);
    BroadcastCancelMode();
    box.exec();
}

void ShowMessage(const QString& text)
{
    MessageBox(QApplication::activeWindow(), text, Application().Title(), TMessageIcon::None);
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
