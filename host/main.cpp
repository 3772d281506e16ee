// Brivora, the stand-in host: the program that ships the backup library in
// its folder and calls it the way the real host does. It runs from an
// installation (App/Bin beside App/Datos); started from anywhere else (the
// build folder) it lays out a sample installation, copies itself and its
// libraries into it and runs from there.

#include "host/backup_library.h"
#include "host/backup_screenshots.h"
#include "host/dbgrid_demo.h"
#include "host/grid_demo.h"
#include "host/host_paths.h"
#include "host/kelgrid_demo.h"
#include "host/kelgrid_demo_screenshots.h"
#include "host/main_window.h"
#include "host/program_files.h"
#include "host/relaunch.h"
#include "host/sample_installation.h"
#include "safekeep/langman/languagemanager.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/data/database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct TOptions {
    QString sample;
    QString language;
    bool restricted = false;
    bool receipts = false;
    QString screenshots;
    QString screenshot;
};

TOptions ParseOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stand-in host that opens the backup window of libsafekeep.so."));
    parser.addHelpOption();
    const QCommandLineOption sample(
        QStringLiteral("sample"),
        QStringLiteral("Lay out a sample installation in <dir> (data files only when "
                       "missing) and run from there."),
        QStringLiteral("dir"));
    const QCommandLineOption language(QStringLiteral("lang"), QStringLiteral("Language: es (default) or en."),
                                      QStringLiteral("code"), QStringLiteral("es"));
    const QCommandLineOption restricted(QStringLiteral("restricted"),
                                        QStringLiteral("Open the backup window in restricted mode."));
    const QCommandLineOption receipts(
        QStringLiteral("recibos"),
        QStringLiteral("Open the receipts window (the year's receipts in the data grid) instead of "
                       "the main window."));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral("Render each page of the backup window to PNG files in "
                       "<dir> and exit."),
        QStringLiteral("dir"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window to <file> and exit."),
                                        QStringLiteral("file"));
    parser.addOptions({sample, language, restricted, receipts, screenshots, screenshot});
    parser.process(app);

    TOptions options;
    options.sample = parser.value(sample);
    options.language = parser.value(language).toLower();
    options.restricted = parser.isSet(restricted);
    options.receipts = parser.isSet(receipts);
    options.screenshots = parser.value(screenshots);
    options.screenshot = parser.value(screenshot);
    if (options.language != QLatin1String("es") && options.language != QLatin1String("en")) {
        std::fprintf(stderr, "Brivora: --lang must be es or en\n");
        std::exit(2);
    }
    return options;
}

// Lays out the installation to run from, when this program is not running
// from one, and replaces this process with its copy there. Returns when
// this process is the one to go on.
void RunFromInstallation(const TOptions& options)
{
    const QString executable = QCoreApplication::applicationFilePath();
    QString root = options.sample;
    if (root.isEmpty() && !tk::FileExists(host::HostIniOf(executable)))
        root = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../sample"));
    if (root.isEmpty())
        return;
    const host::THostPaths sample = host::LayOutSampleInstallation(root);
    if (host::SameFolder(sample.binFolder, QCoreApplication::applicationDirPath()))
        return;
    host::InstallProgramFiles(executable, sample.binFolder);
    const QString copy = host::SampleExecutable(root);
    std::printf("Brivora: running from the installation in %s\n", qPrintable(sample.binFolder));
    std::fflush(stdout);
    const QString reason = host::Relaunch(copy, host::RelaunchArguments(QCoreApplication::arguments(), copy));
    throw tk::EInOutError(QStringLiteral("Cannot start %1: %2").arg(copy, reason));
}

void OpenDatabase(tk::TDatabase& database, const QString& name, const QString& file)
{
    database.SetName(name);
    database.SetDatabaseName(file);
    try {
        database.SetActive(true);
    } catch (const tk::Exception& error) {
        // The host still runs; the backup window gets the component inactive.
        std::fprintf(stderr, "Brivora: %s\n", qPrintable(error.Message()));
    }
}

int RenderWindow(QWidget& window, const QString& png, const char* what)
{
    window.show();
    QApplication::processEvents();
    const bool saved = window.grab().save(png);
    if (saved)
        std::printf("rendered %s to %s\n", what, qPrintable(png));
    else
        std::printf("could not write %s\n", qPrintable(png));
    return saved ? 0 : 1;
}

// Shows the window and runs until it closes; with --screenshot, or without
// a screen (then into offscreenPng), renders it to a file instead.
int ShowOrRender(QWidget& window, const TOptions& options, const QString& offscreenPng, const char* what)
{
    QString png = options.screenshot;
    if (png.isEmpty() && QGuiApplication::platformName() == QLatin1String("offscreen"))
        png = offscreenPng;
    if (!png.isEmpty())
        return RenderWindow(window, png, what);
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv)
{
    // Without a display there is no window to open: render to files instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brivora"));
    const TOptions options = ParseOptions(app);

    try {
        RunFromInstallation(options);
    } catch (const tk::Exception& error) {
        std::fprintf(stderr, "Brivora: %s\n", qPrintable(error.Message()));
        return 1;
    }
    const host::THostPaths paths = host::THostPaths::ForExecutable(QCoreApplication::applicationFilePath());

    // The program owns the one language manager; the library it loads uses
    // this instance and never creates its own.
    safekeep::CreateLanguageManager();
    struct FreeManagerAtExit {
        ~FreeManagerAtExit() { safekeep::FreeLanguageManager(); }
    } freeManager;
    safekeep::LanguageManager->SetFolder(paths.langFolder);
    safekeep::LanguageManager->SetLanguageCode(options.language);
    if (!safekeep::LanguageManager->LastError().isEmpty())
        std::fprintf(stderr, "Brivora: language %s: %s\n", qPrintable(options.language),
                     qPrintable(safekeep::LanguageManager->LastError()));

    tk::TDatabase database1;
    tk::TDatabase database2;
    OpenDatabase(database1, QStringLiteral("Database1"), paths.yearFile);
    OpenDatabase(database2, QStringLiteral("Database2"), paths.reportDatabase);

    host::TBackupLibrary library(host::BackupLibraryPath(paths.binFolder));
    const host::TBackupCall call{options.restricted ? 1 : 0, safekeep::LanguageManager, &database1,
                                 &database2};

    if (!options.screenshots.isEmpty()) {
        const int backup = host::TBackupScreenshots(library, call, options.screenshots).Run();
        QString written;
        if (!host::RenderGridDemo(QDir::cleanPath(options.screenshots) + QLatin1Char('/'), written)) {
            std::fprintf(stderr, "Brivora: cannot write %s\n", qPrintable(written));
            return 1;
        }
        std::printf("rendered %s\n", qPrintable(written));
        try {
            if (!host::RenderDataGridDemo(&database1, QDir::cleanPath(options.screenshots) + QLatin1Char('/'),
                                          written)) {
                std::fprintf(stderr, "Brivora: cannot write %s\n", qPrintable(written));
                return 1;
            }
        } catch (const tk::Exception& error) {
            std::fprintf(stderr, "Brivora: the receipts window: %s\n", qPrintable(error.Message()));
            return 1;
        }
        std::printf("rendered %s\n", qPrintable(written));
        try {
            qint64 buildMs = 0;
            QStringList files;
            if (!host::RenderKelgridScreenshots(host::KelgridDemoIniOf(paths),
                                                QDir::cleanPath(options.screenshots) + QLatin1Char('/'), files,
                                                written, &buildMs)) {
                std::fprintf(stderr, "Brivora: cannot write %s\n", qPrintable(written));
                return 1;
            }
            for (const QString& file : files)
                std::printf("rendered %s\n", qPrintable(file));
            std::printf("(the demonstration's orders made in %lld ms)\n", buildMs);
        } catch (const tk::Exception& error) {
            std::fprintf(stderr, "Brivora: the grid demonstration: %s\n", qPrintable(error.Message()));
            return 1;
        }
        return backup;
    }

    if (options.receipts) {
        std::unique_ptr<host::TfrmRecibos> receipts;
        try {
            receipts = std::make_unique<host::TfrmRecibos>(&database1);
        } catch (const tk::Exception& error) {
            std::fprintf(stderr, "Brivora: the receipts window: %s\n", qPrintable(error.Message()));
            return 1;
        }
        return ShowOrRender(*receipts, options, QStringLiteral("recibos.png"), "receipts window");
    }

    host::TfrmBrivora window(library, call, paths);
    safekeep::LanguageManager->LangVCL(&window);
    window.ShowDatabaseStates();
    return ShowOrRender(window, options, QStringLiteral("host.png"), "main window");
}
