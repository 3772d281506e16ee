#include "host/backup_screenshots.h"

#include "toolkit/core/application.h"
#include "toolkit/core/fileutils.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

constexpr int kStepInterval = 150;     // milliseconds between steps
constexpr int kWindowTimeout = 20000;  // how long the window may take to appear

}  // namespace

void ClickAsUser(QWidget* widget)
{
    const QPointF local = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

TBackupScreenshots::TBackupScreenshots(TBackupLibrary& library, const TBackupCall& call,
                                       const QString& folder)
    : library_(library), call_(call), folder_(tk::IncludeTrailingPathDelimiter(folder))
{
}

bool TBackupScreenshots::Grab(QWidget* window, const QString& fileName)
{
    const QString path = folder_ + fileName;
    if (!window->grab().save(path)) {
        error_ = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    written_ << path;
    return true;
}

bool TBackupScreenshots::RunRound(const QList<std::function<bool(QWidget*)>>& steps)
{
    qsizetype next = 0;
    int waited = 0;
    bool failed = false;
    QTimer timer;
    timer.setInterval(kStepInterval);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            waited += kStepInterval;
            if (waited < kWindowTimeout)
                return;
            // The library shows nothing and does not return: nothing to
            // close, so end the program instead of hanging.
            std::fprintf(stderr, "Brivora: the backup window did not open within %d s\n",
                         kWindowTimeout / 1000);
            std::fflush(stderr);
            std::_Exit(1);
        }
        if (next < steps.size() && !failed) {
            failed = !steps[next++](modal);
            if (!failed)
                return;
        }
        // Done or failed: close the window as its title bar would, and any
        // message box it may have opened first, until the call returns.
        modal->close();
    });
    timer.start();
    try {
        library_.CopiaSeguridad(call_);
    } catch (...) {
        error_ = tk::ExceptionMessage(std::current_exception());
        return false;
    }
    if (!failed && next < steps.size())
        error_ = QStringLiteral("the backup window closed before its pages were rendered");
    return !failed && next == steps.size();
}

int TBackupScreenshots::Run()
{
    if (!tk::ForceDirectories(folder_)) {
        std::fprintf(stderr, "Brivora: cannot create %s\n", qPrintable(folder_));
        return 1;
    }
    if (!library_.Load()) {
        std::fprintf(stderr, "Brivora: cannot use the backup library %s: %s\n", qPrintable(library_.Path()),
                     qPrintable(library_.ErrorDetail()));
        return 1;
    }
    const auto click = [this](const char* name) {
        return [this, name](QWidget* window) {
            auto* button = window->findChild<QWidget*>(QString::fromLatin1(name));
            if (!button || !button->isVisible() || !button->isEnabled()) {
                error_ = QStringLiteral("the backup window has no usable button %1")
                             .arg(QString::fromLatin1(name));
                return false;
            }
            ClickAsUser(button);
            return true;
        };
    };
    const auto grab = [this](const char* fileName) {
        return [this, fileName](QWidget* window) { return Grab(window, QString::fromLatin1(fileName)); };
    };

    // There is no way back to the start page: the restore page needs a
    // second window.
    const bool done = RunRound({grab("backup-start.png"), click("btn1"), grab("backup-create.png")}) &&
                      RunRound({click("btn2"), grab("backup-restore.png")});
    if (!done) {
        std::fprintf(stderr, "Brivora: %s\n", qPrintable(error_));
        return 1;
    }
    for (const QString& path : written_)
        std::printf("rendered %s\n", qPrintable(path));
    return 0;
}

}  // namespace host
