// Sending, listing and fetching backups through the window against a real
// FTP server on loopback.
#include "tests/backupform/backup_fixture.h"
#include "tests/support/ftp_server.h"
#include "tests/support/modal_answerer.h"
#include "toolkit/core/application.h"
#include "toolkit/core/fileutils.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

using tk::test::FtpServer;
using tk::test::FtpServerOptions;

class OnlineAccountTest : public BackupFlowTest {
protected:
    void EnterAccount(tk::TEdit* host, tk::TEdit* user, tk::TEdit* password, const FtpServer& server,
                      const QString& secret = QString::fromLatin1(FtpServer::kPassword))
    {
        host->SetText(QStringLiteral("127.0.0.1:%1").arg(server.Port()));
        user->SetText(QString::fromLatin1(FtpServer::kUser));
        password->SetText(secret);
    }
    // Errors that reach the host's standard handling.
    QStringList errors;
    std::function<void(const QString&)> savedHandler = tk::Application().OnException;

    void SetUp() override
    {
        tk::Application().OnException = [this](const QString& message) { errors << message; };
    }
    void TearDown() override { tk::Application().OnException = savedHandler; }
};

TEST_F(OnlineAccountTest, SendListFetchAndRestore)
{
    FtpServer server;
    tk::test::ModalAnswerer answerer;
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("pw"));
    ASSERT_TRUE(window->JvGroupBox1->Enabled());
    EnterAccount(window->Edit6, window->Edit1, window->Edit3, server);
    QTest::mouseClick(window->btnEnviar, Qt::LeftButton);
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
    EXPECT_EQ(ReadAll(server.HomeFile(QStringLiteral("copia.7z"))), ReadAll(window->ArchivePath()));
    EXPECT_TRUE(window->img2->Visible());
    EXPECT_FALSE(window->btnEnviar->Enabled());  // one send per window
    EXPECT_EQ(window->Progress1->Position(), 0);
    EXPECT_EQ(answerer.Boxes().size(), 1);  // only the backup's "Correcto"

    // Only names ending exactly in ".7z" are backups.
    WriteAll(server.HomeFile(QStringLiteral("BACKUP.7Z")), "x");
    WriteAll(server.HomeFile(QStringLiteral("notes.txt")), "x");
    QDir(server.Home()).mkdir(QStringLiteral("old.7z.d"));
    window->btn2Click();
    EnterAccount(window->Edit7, window->Edit2, window->Edit4, server);
    QTest::mouseClick(window->btnListarCopSeg, Qt::LeftButton);
    EXPECT_EQ(window->ListBox1->Items()->ToStringList(), QStringList{QStringLiteral("copia.7z")});
    EXPECT_TRUE(window->btnListarCopSeg->Enabled());
    EXPECT_FALSE(window->btnRecuperar->Enabled());

    const QByteArray yearBytes = ReadAll(paths.yearFile);
    WriteAll(paths.binFolder + QStringLiteral("apppos.INI"), "changed");
    window->ListBox1->setCurrentRow(0);  // as a click on the line does
    EXPECT_TRUE(window->btnRecuperar->Enabled());
    switches.clear();
    QTest::mouseClick(window->btnRecuperar, Qt::LeftButton);
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
    ASSERT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Information);
    EXPECT_TRUE(window->Image1->Visible());
    EXPECT_NE(ReadAll(paths.binFolder + QStringLiteral("apppos.INI")), QByteArray("changed"));
    EXPECT_EQ(ReadAll(paths.yearFile), yearBytes);
    // Both databases are off while their files are replaced.
    EXPECT_EQ(switches, (QStringList{"year off", "report off", "year on", "report on"}));
    EXPECT_EQ(window->AdvProgress2->Max(), 25);
}

TEST_F(OnlineAccountTest, OnlyRegularFilesWithPlainNamesAreListedAsBackups)
{
    // Every listing form the account's server may answer in, each with
    // entries no local folder can hold added as the server wrote them.
    const FtpServerOptions servers[] = {
        {.extraListingLines = {"type=file;size=3;modify=20261208155904; ../../x.7z",
                               "type=OS.unix=slink:/srv/copia.7z;modify=20261208155904; slink.7z",
                               "type=file;size=3;modify=20261208155904; sub/y.7z"}},
        {.noMlsd = true,
         .extraListingLines = {"-rw-r--r--   1 ftp ftp 3 Dec 08 15:59 ../../x.7z",
                               "crw-r--r--   1 ftp ftp 3 Dec 08 15:59 device.7z"}},
        {.noMlsd = true,
         .dosList = true,
         .extraListingLines = {"12-08-26  03:59PM       <DIR>          dosdir.7z",
                               "12-08-26  03:59PM                    3 ..\\..\\x.7z"}},
    };
    for (const FtpServerOptions& options : servers) {
        FtpServer server(options);
        WriteAll(server.HomeFile(QStringLiteral("copia.7z")), "a backup");
        QDir(server.Home()).mkdir(QStringLiteral("folder.7z"));
        QFile::link(server.HomeFile(QStringLiteral("copia.7z")), server.HomeFile(QStringLiteral("link.7z")));
        window->btn2Click();
        EnterAccount(window->Edit7, window->Edit2, window->Edit4, server);
        QTest::mouseClick(window->btnListarCopSeg, Qt::LeftButton);
        EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
        QStringList listed = window->ListBox1->Items()->ToStringList();
        // Over MLSD the server reports what a link leads to, a file.
        listed.removeAll(QStringLiteral("link.7z"));
        EXPECT_EQ(listed, QStringList{QStringLiteral("copia.7z")}) << options.extraListingLines.front();
    }
}

TEST_F(OnlineAccountTest, AFetchedBackupWhoseCommunityClimbsOutReplacesNothing)
{
    FtpServer server;
    tk::test::ModalAnswerer answerer;
    // A backup as the window writes it, but naming a community outside.
    const QString staging = folder.File(QStringLiteral("hostile/"));
    QDir().mkpath(staging);
    QDir().mkpath(folder.File(QStringLiteral("outside/victim")));
    WriteAll(staging + QStringLiteral("inf.txt"), "../../../../outside/victim\r\n01/02/26\r\n");
    for (const QString& file : HostFiles())
        WriteAll(staging + tk::ExtractFileName(file), ReadAll(file));
    int exitCode = -1;
    SevenZipCommand({QStringLiteral("a"), QStringLiteral("-ppw"), server.HomeFile(QStringLiteral("copia.7z")),
                     staging + QStringLiteral("*")},
                    &exitCode);
    ASSERT_EQ(exitCode, 0);
    WriteAll(paths.binFolder + QStringLiteral("apppos.INI"), "changed");

    window->btn2Click();
    window->Edit5->SetText(QStringLiteral("pw"));
    EnterAccount(window->Edit7, window->Edit2, window->Edit4, server);
    QTest::mouseClick(window->btnListarCopSeg, Qt::LeftButton);
    window->ListBox1->setCurrentRow(0);
    QTest::mouseClick(window->btnRecuperar, Qt::LeftButton);
    ASSERT_FALSE(answerer.Boxes().isEmpty());
    EXPECT_EQ(answerer.Boxes().last().icon, QMessageBox::Critical);
    EXPECT_EQ(ReadAll(paths.binFolder + QStringLiteral("apppos.INI")), QByteArray("changed"));
    EXPECT_TRUE(QDir(folder.File(QStringLiteral("outside/victim"))).isEmpty());
    EXPECT_TRUE(year.Active());
    EXPECT_TRUE(report.Active());
}

TEST_F(OnlineAccountTest, AnUploadListedOnAnotherDayIsNotConfirmed)
{
    FtpServer server(FtpServerOptions{.shiftHours = 30});
    tk::test::ModalAnswerer answerer;
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("pw"));
    EnterAccount(window->Edit6, window->Edit1, window->Edit3, server);
    QTest::mouseClick(window->btnEnviar, Qt::LeftButton);
    EXPECT_TRUE(tk::FileExists(server.HomeFile(QStringLiteral("copia.7z"))));
    EXPECT_FALSE(window->img2->Visible());
    EXPECT_EQ(answerer.Boxes().last().text, QStringLiteral(" 10"));
}

TEST_F(OnlineAccountTest, FailuresReachTheHostAndLeaveTheButtonsAsTheyWere)
{
    FtpServer server;
    tk::test::ModalAnswerer answerer;
    window->btn2Click();
    // A wrong password: the client's error goes to the host's handling.
    EnterAccount(window->Edit7, window->Edit2, window->Edit4, server, QStringLiteral("wrong"));
    QTest::mouseClick(window->btnListarCopSeg, Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(window->btnListarCopSeg->Enabled());
    EXPECT_FALSE(window->FtpClient1->Connected());

    // A refused port, when fetching.
    window->btnListarCopSeg->SetEnabled(true);
    const int closedPort = FtpServer::UnusedPort();
    window->Edit7->SetText(QStringLiteral("127.0.0.1:%1").arg(closedPort));
    window->ListBox1->Items()->Add(QStringLiteral("copia.7z"));
    window->ListBox1->setCurrentRow(0);
    const QByteArray settings = ReadAll(paths.hostIni);
    QTest::mouseClick(window->btnRecuperar, Qt::LeftButton);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_FALSE(window->btnRecuperar->Enabled());
    EXPECT_FALSE(window->FtpClient1->Connected());
    EXPECT_EQ(ReadAll(paths.hostIni), settings);
    EXPECT_TRUE(year.Active());
    EXPECT_TRUE(report.Active());
}

}  // namespace
}  // namespace safekeep
