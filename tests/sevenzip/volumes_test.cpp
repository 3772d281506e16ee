// Archives split into volumes and self-extracting archives, checked with the
// command line and with the 7-Zip self-extractor module itself.
#include "tests/sevenzip/sevenzip_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace safekeep::test {
namespace {

const QString kModule = QStringLiteral("/usr/lib/p7zip/7zCon.sfx");

class VolumesTest : public SevenZipTest {
protected:
    VolumesTest() : data(RandomData(350000, 31))
    {
        WriteFile(QStringLiteral("in/data.bin"), data);
        zip->Files()->AddString(Path(QStringLiteral("in/data.bin")));
        zip->SetAddOptions(TSevenZip::AddStoreOnlyFilename);
        zip->SetPassword(QStringLiteral("pw"));
    }
    QByteArray data;
};

TEST_F(VolumesTest, SplitArchivesAreWrittenAndReadAcrossVolumes)
{
    zip->SetSZFileName(Path(QStringLiteral("split.7z")));
    zip->SetVolumeSize(100000);
    ASSERT_EQ(zip->Add(), 0);
    const QStringList volumes{Path(QStringLiteral("split.7z.001")), Path(QStringLiteral("split.7z.002")),
                              Path(QStringLiteral("split.7z.003")), Path(QStringLiteral("split.7z.004"))};
    EXPECT_EQ(zip->NamesOfVolumesWritten(), volumes);
    EXPECT_EQ(QFileInfo(volumes[0]).size(), 100000);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("split.7z"))));
    const CliResult tested = RunCli({QStringLiteral("t"), QStringLiteral("-ppw"), volumes[0]});
    EXPECT_EQ(tested.exitCode, 0) << qPrintable(tested.output);

    QStringList opened;
    zip->OnOpenVolume = [&](QObject*, const QString& name, bool removable, bool& cancel) {
        EXPECT_FALSE(removable);
        opened << name;
        cancel = false;
    };
    zip->Files()->Clear();
    zip->SetSZFileName(volumes[0]);
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(opened, volumes.mid(1));
    EXPECT_EQ(ReadFile(QStringLiteral("out/data.bin")), data);

    // Refusing a volume leaves the archive incomplete.
    zip->OnOpenVolume = [](QObject*, const QString&, bool, bool& cancel) { cancel = true; };
    zip->SetExtrBaseDir(Path(QStringLiteral("second")));
    EXPECT_EQ(zip->Extract(), -1);
    ASSERT_FALSE(messages.empty());
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("second/data.bin"))));
}

TEST_F(VolumesTest, SelfExtractorsAreMadeFoundAndConverted)
{
    zip->SetSZFileName(Path(QStringLiteral("backup.7z")));
    zip->SetSFXCreate(true);
    zip->SetSFXModule(kModule);
    ASSERT_EQ(zip->Add(), 0);
    const QString exe = Path(QStringLiteral("backup.exe"));
    EXPECT_EQ(zip->SZFileName(), exe);
    EXPECT_EQ(zip->NamesOfVolumesWritten(), QStringList{exe});
    EXPECT_TRUE(QFileInfo(exe).isExecutable());
    ASSERT_TRUE(zip->SFXCheck(exe));
    EXPECT_EQ(zip->SFXOffset(), QFileInfo(kModule).size());
    // The module itself has no archive behind it.
    EXPECT_FALSE(zip->SFXCheck(kModule));

    // The self-extractor runs and unpacks what we packed.
    QProcess run;
    run.start(exe, {QStringLiteral("-ppw"), QStringLiteral("-y"),
                    QStringLiteral("-o") + Path(QStringLiteral("ran"))});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
    EXPECT_EQ(ReadFile(QStringLiteral("ran/data.bin")), data);

    zip->Files()->Clear();
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(ReadFile(QStringLiteral("out/data.bin")), data);

    // Converted back to a plain archive, and again to a self-extractor
    // only where no file is in the way.
    ASSERT_TRUE(zip->ConvertSFXto7z(exe));
    EXPECT_EQ(ReadFile(QStringLiteral("backup.7z")),
              ReadFile(QStringLiteral("backup.exe")).mid(zip->SFXOffset()));
    EXPECT_EQ(
        RunCli({QStringLiteral("t"), QStringLiteral("-ppw"), Path(QStringLiteral("backup.7z"))}).exitCode, 0);
    EXPECT_FALSE(zip->Convert7ztoSFX(Path(QStringLiteral("backup.7z"))));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 9);
    EXPECT_EQ(messages[0].text, QStringLiteral("Could not create SFX"));
    QFile::remove(exe);
    EXPECT_TRUE(zip->Convert7ztoSFX(Path(QStringLiteral("backup.7z"))));
    EXPECT_TRUE(zip->SFXCheck(exe));
}

TEST_F(VolumesTest, MissingModuleOrExistingTargetIsReported)
{
    WriteFile(QStringLiteral("taken.exe"), QByteArray("someone's program"));
    zip->SetSZFileName(Path(QStringLiteral("taken.7z")));
    zip->SetSFXCreate(true);
    zip->SetSFXModule(kModule);
    EXPECT_EQ(zip->Add(), -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 9);
    EXPECT_EQ(ReadFile(QStringLiteral("taken.exe")), QByteArray("someone's program"));

    // Without its module the archive is written as a plain one.
    messages.clear();
    zip->SetSZFileName(Path(QStringLiteral("plain.7z")));
    zip->SetSFXModule(QStringLiteral("no-such.sfx"));
    EXPECT_EQ(zip->Add(), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 8);
    EXPECT_EQ(messages[0].text, QStringLiteral("SFXModule error ( Not found )"));
    EXPECT_EQ(
        RunCli({QStringLiteral("t"), QStringLiteral("-ppw"), Path(QStringLiteral("plain.7z"))}).exitCode, 0);
}

}  // namespace
}  // namespace safekeep::test
