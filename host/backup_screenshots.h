#pragma once
// Pictures of the backup window's pages, made the way a user reaches them:
// the window is opened through the library, its start page rendered, "btn1"
// clicked and the create page rendered; then the window is closed, opened
// again, "btn2" clicked and the restore page rendered. Used without a
// display (offscreen platform) for the README's screenshots.

#include "host/backup_library.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace host {

class TBackupScreenshots {
public:
    TBackupScreenshots(TBackupLibrary& library, const TBackupCall& call, const QString& folder);

    // Writes backup-start.png, backup-create.png and backup-restore.png into
    // the folder. Returns 0 when all were written; otherwise prints why to
    // standard error and returns 1.
    int Run();

    // The files written so far.
    const QStringList& Written() const { return written_; }

private:
    // Opens the window and runs the steps against it, one per timer tick so
    // that it can lay out and paint in between. False when it failed.
    bool RunRound(const QList<std::function<bool(QWidget* window)>>& steps);
    bool Grab(QWidget* window, const QString& fileName);

    TBackupLibrary& library_;
    TBackupCall call_;
    QString folder_;
    QStringList written_;
    QString error_;
};

// Clicks a widget in its middle with the left button, as the mouse would.
void ClickAsUser(QWidget* widget);

}  // namespace host
