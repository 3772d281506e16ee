// The program as a user starts it: from the build folder, it lays out a
// sample installation and runs from there; without the backup library it
// says so and ends cleanly.
#include "host/sample_installation.h"

#include "tests/support/temp_folder.h"
#include "toolkit/core/fileutils.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace host {
namespace {

struct TRun {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString out;
    QString err;
};

TRun RunProgram(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    TRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("timed out");
        return run;
    }
    run.status = process.exitStatus();
    run.code = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(BrivoraProgramTest, StartedFromTheBuildItRunsFromItsSampleInstallation)
{
    tk::test::TempFolder folder;
    const QString root = folder.File(QStringLiteral("instalación"));
    const TRun run = RunProgram(
        QStringLiteral(BRIVORA_EXECUTABLE),
        {QStringLiteral("--sample"), root, QStringLiteral("--lang"), QStringLiteral("en")}, folder.Path());
    ASSERT_EQ(run.status, QProcess::NormalExit) << qPrintable(run.err);
    ASSERT_EQ(run.code, 0) << qPrintable(run.err);
    const QString bin = root + QStringLiteral("/App/Bin/");
    EXPECT_TRUE(run.out.contains(QStringLiteral("running from the installation in ") + bin))
        << qPrintable(run.out);
    // The copy found its settings and rendered its window into the working
    // folder (the offscreen platform has no screen).
    EXPECT_FALSE(QImage(folder.File(QStringLiteral("host.png"))).isNull()) << qPrintable(run.out);
    EXPECT_TRUE(tk::FileExists(bin + QStringLiteral("Brivora")));
    EXPECT_TRUE(tk::FileExists(bin + QStringLiteral("libtoolkit.so")));
    EXPECT_TRUE(tk::FileExists(bin + QStringLiteral("liblangman.so")));
    EXPECT_TRUE(tk::FileExists(bin + QStringLiteral("Brivora.INI")));
    EXPECT_FALSE(run.err.contains(QStringLiteral("Cannot open database"))) << qPrintable(run.err);
    EXPECT_FALSE(run.err.contains(QStringLiteral("language"))) << qPrintable(run.err);

    // Without the backup library, the pages cannot be rendered: a message
    // and a failing exit code, no crash, no pictures.
    QFile::remove(bin + QStringLiteral("libsafekeep.so"));
    const TRun missing =
        RunProgram(bin + QStringLiteral("Brivora"),
                   {QStringLiteral("--screenshots"), folder.File(QStringLiteral("shots"))}, folder.Path());
    EXPECT_EQ(missing.status, QProcess::NormalExit);
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("cannot use the backup library ") + bin +
                                     QStringLiteral("libsafekeep.so")))
        << qPrintable(missing.err);
    EXPECT_FALSE(missing.out.contains(QStringLiteral("running from"))) << "an installed copy runs in place";
    EXPECT_FALSE(tk::FileExists(folder.File(QStringLiteral("shots/backup-start.png"))));
}

TEST(BrivoraProgramTest, TheReceiptsSwitchOpensTheReceiptsWindowInsteadOfTheMainWindow)
{
    tk::test::TempFolder folder;
    const QString png = folder.File(QStringLiteral("recibos.png"));
    const TRun run = RunProgram(QStringLiteral(BRIVORA_EXECUTABLE),
                                {QStringLiteral("--sample"), folder.File(QStringLiteral("muestra")),
                                 QStringLiteral("--recibos"), QStringLiteral("--screenshot"), png},
                                folder.Path());
    ASSERT_EQ(run.status, QProcess::NormalExit) << qPrintable(run.err);
    ASSERT_EQ(run.code, 0) << qPrintable(run.err);
    EXPECT_TRUE(run.out.contains(QStringLiteral("rendered receipts window to ") + png))
        << qPrintable(run.out);
    // The receipts window's size, not the main window's.
    EXPECT_EQ(QImage(png).size(), QSize(1000, 600));
    EXPECT_FALSE(tk::FileExists(folder.File(QStringLiteral("host.png"))));
}

}  // namespace
}  // namespace host
