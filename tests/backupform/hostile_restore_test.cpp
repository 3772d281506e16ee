// Restores of backups that were altered after the window wrote them, as a
// hostile server or a damaged disk could hand them over: the restore must
// write nothing outside the installation's targets, replace nothing when a
// member is unusable, and put every file back when a step fails after some
// were replaced.
#include "tests/backupform/backup_fixture.h"
#include "tests/support/modal_answerer.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/query.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

const QString kPassword = QStringLiteral("clave");

class HostileRestoreTest : public BackupFlowTest {
protected:
    void SetUp() override
    {
        savedHandler = tk::Application().OnException;
        tk::Application().OnException = [this](const QString& message) { errors << message; };
        {
            tk::test::ModalAnswerer answerer;
            CreateBackup(Backups() + QStringLiteral("sound.7z"), kPassword);
            ASSERT_EQ(answerer.Boxes().size(), 1);
            ASSERT_EQ(answerer.Boxes()[0].icon, QMessageBox::Information);
        }
        // The backup's members, to be altered and packed again.
        int exitCode = -1;
        SevenZipCommand({QStringLiteral("x"), QStringLiteral("-p") + kPassword,
                         QStringLiteral("-o") + Members(), window->ArchivePath()},
                        &exitCode);
        ASSERT_EQ(exitCode, 0);
        ASSERT_TRUE(QFile::exists(Members() + paths.yearFileName));

        // The host's files change after the backup, so a restore that
        // replaced any of them would show.
        for (const QString& name : {QStringLiteral("apppos.INI"), QStringLiteral("DACT.INI")})
            WriteAll(paths.binFolder + name, "changed after the backup: " + name.toUtf8());
        for (tk::TDatabase* database : {&year, &report}) {
            tk::TQuery query;
            query.SetDatabase(database);
            query.SQL()->SetText(QStringLiteral("CREATE TABLE after_backup(x)"));
            query.ExecSQL();
        }
        // A folder outside the installation that a climbing name reaches.
        QDir().mkpath(Outside());
        WriteAll(Outside() + paths.yearFileName, "the victim's own file");
        before = Tree();
        switches.clear();
    }
    void TearDown() override { tk::Application().OnException = savedHandler; }

    QString Members() const { return folder.File(QStringLiteral("members/")); }
    QString Outside() const { return folder.File(QStringLiteral("outside/victim/")); }
    // The files the restore could reach, by path: the installation (but its
    // staging folder) and the folder outside it; hidden files included, so
    // an old file left aside shows too.
    QMap<QString, QByteArray> Tree() const
    {
        QMap<QString, QByteArray> files;
        const QString staging = paths.binFolder + QStringLiteral("Temp/");
        for (const QString& root : {folder.File(QStringLiteral("install/App")), Outside()}) {
            QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (!path.startsWith(staging))
                    files.insert(path, ReadAll(path));
            }
        }
        return files;
    }
    void ExpectNothingChanged() const
    {
        const QMap<QString, QByteArray> after = Tree();
        EXPECT_EQ(after.keys(), before.keys());
        for (auto file = before.begin(); file != before.end(); ++file)
            EXPECT_EQ(after.value(file.key()), file.value()) << qPrintable(file.key());
        EXPECT_TRUE(year.Active());
        EXPECT_TRUE(report.Active());
        EXPECT_FALSE(window->Image1->Visible());
    }
    void SetCommunity(const QString& community)
    {
        WriteAll(Members() + QStringLiteral("inf.txt"), community.toUtf8() + "\r\n01/02/26\r\n");
    }
    // Packs the members as they are now (links stored as links) and
    // restores the archive through the window; returns the last box.
    tk::test::TAnsweredBox PackAndRestore()
    {
        const QString archive = folder.File(QStringLiteral("altered%1.7z").arg(++packed));
        int exitCode = -1;
        const QString output =
            SevenZipCommand({QStringLiteral("a"), QStringLiteral("-snl"), QStringLiteral("-p") + kPassword,
                             archive, Members() + QStringLiteral("*")},
                            &exitCode);
        EXPECT_EQ(exitCode, 0) << qPrintable(output);
        tk::test::ModalAnswerer answerer;
        RestoreBackup(archive, kPassword);
        EXPECT_FALSE(answerer.Boxes().isEmpty());
        return answerer.Boxes().isEmpty() ? tk::test::TAnsweredBox{} : answerer.Boxes().last();
    }
    void ExpectRefusedAt(const tk::test::TAnsweredBox& box, const QString& suffix)
    {
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.text, suffix);  // "MINoCopiaSeguridad" untranslated + the step
    }

    QStringList errors;
    std::function<void(const QString&)> savedHandler;
    QMap<QString, QByteArray> before;
    int packed = 0;
};

TEST_F(HostileRestoreTest, ACommunityNameThatClimbsOutOfTheCommunitiesReplacesNothing)
{
    // A community folder that is a link to somewhere else is not one of
    // the installation's communities either.
    const QString communities = paths.dataRoot + QStringLiteral("/Comunidades/");
    ASSERT_TRUE(QFile::link(Outside(), communities + QStringLiteral("Enlace")));
    before = Tree();
    const QString climbing[] = {
        QStringLiteral("../../../../outside/victim"),
        paths.community + QStringLiteral("/../../../Bin"),
        QStringLiteral("../Informes"),
        QStringLiteral("..\\Informes"),
        QStringLiteral(".."),
        QStringLiteral("."),
        Outside(),
        QStringLiteral("Enlace"),
    };
    for (const QString& community : climbing) {
        SCOPED_TRACE(qPrintable(community));
        SetCommunity(community);
        const tk::test::TAnsweredBox box = PackAndRestore();
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_EQ(box.text, QString());  // "ComunidadNoExiste", untranslated
        ExpectNothingChanged();
    }
    EXPECT_FALSE(QFile::exists(paths.binFolder + paths.yearFileName));
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
}

TEST_F(HostileRestoreTest, AMissingDatabaseMemberStopsBeforeTheSettingsAreReplaced)
{
    for (const auto& [member, step] : {std::pair{paths.yearFileName, QStringLiteral(" : 24")},
                                       std::pair{QStringLiteral("Informes.mdb"), QStringLiteral(" : 25")}}) {
        SCOPED_TRACE(qPrintable(member));
        const QByteArray bytes = ReadAll(Members() + member);
        ASSERT_TRUE(QFile::remove(Members() + member));
        ExpectRefusedAt(PackAndRestore(), step);
        ExpectNothingChanged();
        WriteAll(Members() + member, bytes);
    }
}

TEST_F(HostileRestoreTest, AMemberThatIsNotADatabaseReplacesNothing)
{
    QByteArray noise(200000, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    for (const auto& [member, step] : {std::pair{paths.yearFileName, QStringLiteral(" : 24")},
                                       std::pair{QStringLiteral("Informes.mdb"), QStringLiteral(" : 25")}}) {
        SCOPED_TRACE(qPrintable(member));
        const QByteArray bytes = ReadAll(Members() + member);
        WriteAll(Members() + member, noise);
        ExpectRefusedAt(PackAndRestore(), step);
        ExpectNothingChanged();
        WriteAll(Members() + member, bytes);
    }
    // The databases never tried to open the noise.
    EXPECT_TRUE(errors.isEmpty()) << qPrintable(errors.join('\n'));
}

TEST_F(HostileRestoreTest, MembersStoredAsLinksOrFoldersReplaceNothing)
{
    // A settings file stored as a link would be extracted as a file holding
    // the link's target.
    ASSERT_TRUE(QFile::remove(Members() + QStringLiteral("apppos.INI")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), Members() + QStringLiteral("apppos.INI")));
    ExpectRefusedAt(PackAndRestore(), QStringLiteral(" : 22"));
    ExpectNothingChanged();
    ASSERT_TRUE(QFile::remove(Members() + QStringLiteral("apppos.INI")));
    WriteAll(Members() + QStringLiteral("apppos.INI"), "positions");

    const QString settings = Members() + QStringLiteral("Brivora.INI");
    const QByteArray settingsBytes = ReadAll(settings);
    ASSERT_TRUE(QFile::remove(settings));
    ASSERT_TRUE(QDir().mkpath(settings));
    WriteAll(settings + QStringLiteral("/inside"), "x");
    ExpectRefusedAt(PackAndRestore(), QStringLiteral(" : 21"));
    ExpectNothingChanged();
    ASSERT_TRUE(QDir(settings).removeRecursively());
    WriteAll(settings, settingsBytes);

    // A link to a real database is still not the backup's own file.
    const QString yearMember = Members() + paths.yearFileName;
    ASSERT_TRUE(QFile::remove(yearMember));
    ASSERT_TRUE(QFile::link(paths.yearFile, yearMember));
    ExpectRefusedAt(PackAndRestore(), QStringLiteral(" : 24"));
    ExpectNothingChanged();
}

TEST_F(HostileRestoreTest, ADatabaseThatCannotOpenAfterTheCopiesPutsEveryFileBack)
{
    // The host's database refuses to open once, as a file held by another
    // program would: first the year database, right after its file was
    // replaced (the settings files already were), then the report database
    // after every file was.
    for (const auto& [database, step] :
         {std::pair{&year, QStringLiteral(" : 24")}, std::pair{&report, QStringLiteral(" : 25")}}) {
        SCOPED_TRACE(qPrintable(step));
        bool refused = false;
        database->OnBeforeConnect = [&refused](QObject*) {
            if (!refused) {
                refused = true;
                throw tk::EDatabaseError(QStringLiteral("database is locked"));
            }
        };
        ExpectRefusedAt(PackAndRestore(), step);
        EXPECT_TRUE(refused);
        ExpectNothingChanged();
        database->OnBeforeConnect = nullptr;
    }
}

TEST_F(HostileRestoreTest, SuccessIsShownOnlyOnceBothDatabasesAreOpenOnTheRestoredFiles)
{
    tk::test::ModalAnswerer answerer;
    answerer.OnBox = [this](const tk::test::TAnsweredBox&) {
        switches << QStringLiteral("box");
        switches << (year.Active() && report.Active() ? QStringLiteral("both open")
                                                      : QStringLiteral("closed"));
    };
    RestoreBackup(window->ArchivePath(), kPassword);
    EXPECT_EQ(switches, (QStringList{"year off", "report off", "year on", "report on", "box", "both open"}));
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Information);
    // The restored files are the backup's, and no old file is left aside.
    EXPECT_EQ(ReadAll(paths.yearFile), ReadAll(Members() + paths.yearFileName));
    EXPECT_EQ(ReadAll(paths.reportDatabase), ReadAll(Members() + QStringLiteral("Informes.mdb")));
    const QMap<QString, QByteArray> after = Tree();
    EXPECT_EQ(after.keys(), before.keys());
}

}  // namespace
}  // namespace safekeep
