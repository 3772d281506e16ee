// Backups made and restored through the window, on sample installations of
// the host laid out in temporary folders, checked with the 7z command.
#include "host/sample_databases.h"
#include "tests/backupform/backup_fixture.h"
#include "tests/support/modal_answerer.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/inifile.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

TEST_F(BackupFlowTest, RoundTripRestoresEveryFileByteForByte)
{
    tk::test::ModalAnswerer answerer;
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("contraseña"));
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].text, QString());  // "Correcto" untranslated: the suffix alone
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Information);
    EXPECT_TRUE(window->img1->Visible());
    EXPECT_TRUE(window->JvGroupBox1->Enabled());
    EXPECT_EQ(window->AdvProgress1->Position(), 15);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(window->ListBoxTareas->Checked(i)) << i;
    // The destination folder and the date are remembered for the host.
    const tk::TIniFile ini(paths.hostIni);
    EXPECT_EQ(ini.ReadString(QStringLiteral("CopSeg"), QStringLiteral("ruta"), QString()), Backups());
    EXPECT_FALSE(ini.ReadString(QStringLiteral("copseg"), QStringLiteral("Fecha"), QString()).isEmpty());

    const QString archive = Backups() + QStringLiteral("copia.7z");
    int exitCode = -1;
    const QString listing = SevenZipCommand(
        {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-pcontraseña"), archive}, &exitCode);
    ASSERT_EQ(exitCode, 0) << qPrintable(listing);
    for (const QString& member : {QStringLiteral("inf.txt"), paths.yearFileName, QStringLiteral("Informes.mdb"),
                                  QStringLiteral("Brivora.INI"), QStringLiteral("apppos.INI"), QStringLiteral("DACT.INI")})
        EXPECT_TRUE(listing.contains(QStringLiteral("Path = ") + member + QLatin1Char('\n'))) << qPrintable(member);
    EXPECT_EQ(listing.count(QStringLiteral("Encrypted = +")), 6);

    // The host's files change after the backup; the restore brings them back.
    QList<QByteArray> original;
    for (const QString& file : HostFiles())
        original << ReadAll(file);
    // (The settings keep naming the same year file, which the restore uses.)
    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("CopSeg"), QStringLiteral("ruta"), QStringLiteral("/x/"));
    for (const QString& file : HostFiles().mid(1))
        WriteAll(file, "changed after the backup");
    switches.clear();
    RestoreBackup(archive, QStringLiteral("contraseña"));
    ASSERT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Information);
    // The settings file is the archived one (from before the backup's date
    // was recorded); the others are byte for byte what was saved.
    const tk::TIniFile restored(paths.hostIni);
    EXPECT_EQ(restored.ReadString(QStringLiteral("CopSeg"), QStringLiteral("ruta"), QString()), Backups());
    EXPECT_EQ(restored.ReadString(QStringLiteral("copseg"), QStringLiteral("Fecha"), QString()), QString());
    for (int i = 1; i < HostFiles().size(); ++i)
        EXPECT_EQ(ReadAll(HostFiles()[i]), original[i]) << qPrintable(HostFiles()[i]);
    EXPECT_TRUE(window->Image1->Visible());
    EXPECT_EQ(switches, (QStringList{"year off", "report off", "year on", "report on"}));
    // The staging folder is left without files.
    EXPECT_TRUE(tk::FindFiles(paths.binFolder + QStringLiteral("Temp"), QStringLiteral("*")).isEmpty());
}

TEST_F(BackupFlowTest, AnEmptyPasswordWritesAnOpenArchiveAndKeepsTheSendGroupClosed)
{
    tk::test::ModalAnswerer answerer;
    // A ".zip" name is written (and checked) as ".7z".
    CreateBackup(Backups() + QStringLiteral("copia.zip"), QString());
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Information);
    EXPECT_EQ(window->ArchivePath(), Backups() + QStringLiteral("copia.7z"));
    EXPECT_FALSE(window->JvGroupBox1->Enabled());
    EXPECT_TRUE(window->lblb7->Visible());
    const QString listing =
        SevenZipCommand({QStringLiteral("l"), QStringLiteral("-slt"), window->ArchivePath()});
    EXPECT_FALSE(listing.contains(QStringLiteral("Encrypted = +")));
    EXPECT_TRUE(listing.contains(QStringLiteral("Path = inf.txt")));
}

TEST_F(BackupFlowTest, AStaleStagedSettingsFileIsNotPackedAgain)
{
    tk::test::ModalAnswerer answerer;
    const QString temp = paths.communityFolder + QStringLiteral("/Temp/");
    QDir().mkpath(temp);
    WriteAll(temp + QStringLiteral("DACT.INI"), "stale copy of an earlier backup");
    QFile::remove(paths.binFolder + QStringLiteral("DACT.INI"));
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("x"));
    const QString listing = SevenZipCommand(
        {QStringLiteral("l"), QStringLiteral("-slt"), QStringLiteral("-px"), window->ArchivePath()});
    EXPECT_TRUE(listing.contains(QStringLiteral("Path = apppos.INI")));
    EXPECT_FALSE(listing.contains(QStringLiteral("Path = DACT.INI")));
}

TEST_F(BackupFlowTest, CreationStopsWithKeyedMessages)
{
    tk::test::ModalAnswerer answerer;
    // No year file named in the settings: step 4.
    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("anyo"), QStringLiteral("anyo"), QString());
    CreateBackup(Backups() + QStringLiteral("a.7z"), QStringLiteral("x"));
    // A community without a folder: the staging folder cannot be made.
    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("anyo"), QStringLiteral("comunidad"),
                                            QStringLiteral("Nowhere"));
    QTest::mouseClick(window->JvXPButtonCrearCopiaSeguridad, Qt::LeftButton);
    ASSERT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(answerer.Boxes()[0].text, QStringLiteral(" 4"));
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[1].text, QString());  // MIErrorAlActualizarNoTemporal, untranslated
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Critical);
    EXPECT_FALSE(tk::FileExists(Backups() + QStringLiteral("a.7z")));
    EXPECT_FALSE(window->img1->Visible());
}

TEST_F(BackupFlowTest, AWrongPasswordReplacesNothingAndTheDatabasesStayOn)
{
    tk::test::ModalAnswerer answerer;
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("right"));
    const QByteArray before = ReadAll(paths.hostIni);
    RestoreBackup(window->ArchivePath(), QStringLiteral("wrong"));
    // The component's own message(s), then " 10": nothing restored.
    ASSERT_GE(answerer.Boxes().size(), 3);
    EXPECT_EQ(answerer.Boxes().last().text, QStringLiteral(" 10"));
    EXPECT_EQ(ReadAll(paths.hostIni), before);
    EXPECT_FALSE(window->Image1->Visible());
    EXPECT_TRUE(year.Active());
    EXPECT_TRUE(report.Active());
}

TEST_F(BackupFlowTest, ARestoreThatStopsSwitchesTheDatabasesOnAgainInOrder)
{
    tk::test::ModalAnswerer answerer;
    // A backup of the other community, whose folder is then gone.
    const QString other = host::SampleCommunities().at(1).name;
    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("anyo"), QStringLiteral("comunidad"), other);
    CreateBackup(Backups() + QStringLiteral("other.7z"), QStringLiteral("pw"));
    const QString otherFolder = paths.dataRoot + QStringLiteral("/Comunidades/") + other;
    ASSERT_TRUE(QDir().rename(otherFolder, otherFolder + QStringLiteral(".moved")));
    const QByteArray settings = ReadAll(paths.hostIni);
    switches.clear();
    RestoreBackup(window->ArchivePath(), QStringLiteral("pw"));
    EXPECT_EQ(answerer.Boxes().last().icon, QMessageBox::Critical);
    EXPECT_EQ(ReadAll(paths.hostIni), settings);  // nothing replaced
    EXPECT_EQ(switches, (QStringList{"year off", "report off", "year on", "report on"}));

    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("anyo"), QStringLiteral("comunidad"), paths.community);
    CreateBackup(Backups() + QStringLiteral("copia.7z"), QStringLiteral("pw"));

    // The settings now name another year file, which the backup lacks:
    // " : 24", and the settings files are not replaced either, so the host
    // is not left with the backup's settings over today's data.
    tk::TIniFile(paths.hostIni).WriteString(QStringLiteral("anyo"), QStringLiteral("anyo"),
                                            QStringLiteral("1999.mdb"));
    switches.clear();
    RestoreBackup(window->ArchivePath(), QStringLiteral("pw"));
    EXPECT_EQ(answerer.Boxes().last().text, QStringLiteral(" : 24"));
    EXPECT_EQ(tk::TIniFile(paths.hostIni).ReadString(QStringLiteral("anyo"), QStringLiteral("anyo"), QString()),
              QStringLiteral("1999.mdb"));
    EXPECT_EQ(switches, (QStringList{"year off", "report off", "year on", "report on"}));
    EXPECT_TRUE(year.Active());
    EXPECT_TRUE(report.Active());
}

TEST_F(BackupFlowTest, RestoresAnArchiveWrittenByAWindowsInstall)
{
    // A Windows install packs member names in upper case and writes
    // "inf.txt" in the legacy code page with CR LF.
    tk::test::ModalAnswerer answerer;
    const QString staging = folder.File(QStringLiteral("windows/"));
    QDir().mkpath(staging);
    WriteAll(staging + QStringLiteral("INF.TXT"), paths.community.toLatin1() + "\r\n01/02/26\r\n");
    const QByteArray yearBytes = ReadAll(paths.yearFile);
    WriteAll(staging + paths.yearFileName.toUpper(), yearBytes);
    WriteAll(staging + QStringLiteral("INFORMES.MDB"), ReadAll(paths.reportDatabase));
    WriteAll(staging + QStringLiteral("BRIVORA.INI"), ReadAll(paths.hostIni));
    const QString archive = folder.File(QStringLiteral("windows.7z"));
    int exitCode = -1;
    SevenZipCommand({QStringLiteral("a"), QStringLiteral("-pclave"), archive, staging + QStringLiteral("*")}, &exitCode);
    ASSERT_EQ(exitCode, 0);
    WriteAll(paths.yearFile, "damaged");
    RestoreBackup(archive, QStringLiteral("clave"));
    ASSERT_FALSE(answerer.Boxes().isEmpty());
    EXPECT_EQ(answerer.Boxes().last().icon, QMessageBox::Information) << qPrintable(answerer.Boxes().last().text);
    EXPECT_EQ(ReadAll(paths.yearFile), yearBytes);
}

}  // namespace
}  // namespace safekeep
