// Archives written by the component are read by the 7z command line, and
// archives the command line writes are extracted by the component, byte for
// byte: paths, passwords, non-ASCII names, header encryption, stored names
// and compression levels agree.
#include "tests/sevenzip/sevenzip_fixture.h"

#include <QFile>

namespace safekeep::test {
namespace {

// Items of a command-line listing by path.
QMap<QString, QMap<QString, QString>> ItemsByPath(const QString& archive, const QString& password = QString())
{
    QMap<QString, QMap<QString, QString>> result;
    for (const auto& item : CliItems(archive, password))
        result.insert(item.value(QStringLiteral("Path")), item);
    return result;
}

using RoundTrip = SevenZipTest;

TEST_F(RoundTrip, AddThenCommandLineTestsListsAndExtracts)
{
    const QByteArray text = TextData(300000, 1);
    const QByteArray random = RandomData(70000, 2);
    WriteFile(QStringLiteral("in/datos/text.txt"), text);
    WriteFile(QStringLiteral("in/datos/sub/random.bin"), random);
    WriteFile(QStringLiteral("in/datos/empty.dat"), QByteArray());
    zip->SetSZFileName(Path(QStringLiteral("out.7z")));
    zip->SetPassword(QStringLiteral("secreto"));
    zip->SetAddRootDir(Path(QStringLiteral("in")));
    zip->SetLZMACompressStrength(TSevenZip::MAXIMUM);
    zip->SetAddOptions(TSevenZip::AddRecurseDirs);
    zip->Files()->AddString(Path(QStringLiteral("in/datos/*")));
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(zip->NamesOfVolumesWritten(), QStringList{Path(QStringLiteral("out.7z"))});
    EXPECT_EQ(Entries(QString()), (QStringList{QStringLiteral("in"), QStringLiteral("out.7z")}));

    const CliResult tested =
        RunCli({QStringLiteral("t"), QStringLiteral("-psecreto"), Path(QStringLiteral("out.7z"))});
    EXPECT_EQ(tested.exitCode, 0) << qPrintable(tested.output);
    const auto items = ItemsByPath(Path(QStringLiteral("out.7z")), QStringLiteral("secreto"));
    ASSERT_EQ(items.keys(),
              (QStringList{QStringLiteral("datos/empty.dat"), QStringLiteral("datos/sub/random.bin"),
                           QStringLiteral("datos/text.txt")}));
    EXPECT_EQ(items[QStringLiteral("datos/text.txt")].value(QStringLiteral("Encrypted")),
              QStringLiteral("+"));
    EXPECT_EQ(items[QStringLiteral("datos/text.txt")].value(QStringLiteral("Size")),
              QStringLiteral("300000"));
    EXPECT_EQ(items[QStringLiteral("datos/text.txt")].value(QStringLiteral("Attributes")),
              QStringLiteral("A"));
    // The modification time is the file's, to the second.
    const QDateTime modified = QFileInfo(Path(QStringLiteral("in/datos/text.txt"))).lastModified();
    EXPECT_EQ(items[QStringLiteral("datos/text.txt")].value(QStringLiteral("Modified")).left(19),
              modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    const CliResult extracted =
        RunCli({QStringLiteral("x"), QStringLiteral("-psecreto"),
                QStringLiteral("-o") + Path(QStringLiteral("cli")), Path(QStringLiteral("out.7z"))});
    ASSERT_EQ(extracted.exitCode, 0) << qPrintable(extracted.output);
    EXPECT_EQ(ReadFile(QStringLiteral("cli/datos/text.txt")), text);
    EXPECT_EQ(ReadFile(QStringLiteral("cli/datos/sub/random.bin")), random);
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("cli/datos/empty.dat"))));
}

TEST_F(RoundTrip, CommandLineArchivesExtractByteIdentical)
{
    const QByteArray text = TextData(2500000, 3);
    const QByteArray random = RandomData(300000, 4);
    WriteFile(QStringLiteral("src/a/text.txt"), text);
    WriteFile(QStringLiteral("src/a/b/random.bin"), random);
    WriteFile(QStringLiteral("src/a/b/c/empty"), QByteArray());
    const QDateTime modified(QDate(2021, 3, 4), QTime(5, 6, 7), Qt::UTC);
    QFile file(Path(QStringLiteral("src/a/text.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();

    // Solid and not, names encrypted and not.
    const QStringList variants[] = {{QStringLiteral("-mhe=on")},
                                    {QStringLiteral("-ms=off")},
                                    {QStringLiteral("-mx1"), QStringLiteral("-m0=LZMA")}};
    int round = 0;
    for (const QStringList& options : variants) {
        SCOPED_TRACE(options.join(QLatin1Char(' ')).toStdString());
        const QString archive = Path(QStringLiteral("cli%1.7z").arg(round));
        const QString target = QStringLiteral("out%1").arg(round++);
        const CliResult made = RunCli(QStringList{QStringLiteral("a"), QStringLiteral("-pclave")} + options +
                                      QStringList{archive, Path(QStringLiteral("src/a"))});
        ASSERT_EQ(made.exitCode, 0) << qPrintable(made.output);
        zip->SetSZFileName(archive);
        zip->SetPassword(QStringLiteral("clave"));
        zip->SetExtrBaseDir(Path(target));
        EXPECT_EQ(zip->Extract(), 0);
        EXPECT_EQ(ReadFile(target + QStringLiteral("/a/text.txt")), text);
        EXPECT_EQ(ReadFile(target + QStringLiteral("/a/b/random.bin")), random);
        EXPECT_TRUE(QFileInfo(Path(target + QStringLiteral("/a/b/c/empty"))).isFile());
        EXPECT_EQ(QFileInfo(Path(target + QStringLiteral("/a/text.txt"))).lastModified().toUTC(), modified);
        // Only the items: no temporary files left beside them.
        EXPECT_EQ(Entries(target + QStringLiteral("/a/b")),
                  (QStringList{QStringLiteral("c"), QStringLiteral("random.bin")}));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(RoundTrip, NonAsciiNamesAndPasswordsAgreeWithCommandLine)
{
    const QString name = QStringLiteral("Año/contraseña \U0001F600.txt");
    const QString password = QStringLiteral("contraseña\U0001F511");
    const QByteArray data = TextData(5000, 5);
    WriteFile(QStringLiteral("in/") + name, data);

    zip->SetSZFileName(Path(QStringLiteral("ours.7z")));
    zip->SetPassword(password);
    zip->SetAddRootDir(Path(QStringLiteral("in")));
    zip->SetAddOptions(TSevenZip::AddRecurseDirs | TSevenZip::AddEncryptFilename);
    zip->Files()->AddString(Path(QStringLiteral("in/*")));
    ASSERT_EQ(zip->Add(), 0);
    const CliResult extracted =
        RunCli({QStringLiteral("x"), QStringLiteral("-p") + password,
                QStringLiteral("-o") + Path(QStringLiteral("cli")), Path(QStringLiteral("ours.7z"))});
    ASSERT_EQ(extracted.exitCode, 0) << qPrintable(extracted.output);
    EXPECT_EQ(ReadFile(QStringLiteral("cli/") + name), data);

    const CliResult made =
        RunCli({QStringLiteral("a"), QStringLiteral("-p") + password, QStringLiteral("-mhe=on"),
                Path(QStringLiteral("theirs.7z")), Path(QStringLiteral("in/Año"))});
    ASSERT_EQ(made.exitCode, 0) << qPrintable(made.output);
    zip->Files()->Clear();
    zip->SetSZFileName(Path(QStringLiteral("theirs.7z")));
    zip->SetExtrBaseDir(Path(QStringLiteral("back")));
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(ReadFile(QStringLiteral("back/") + name), data);
    ASSERT_EQ(zip->List(), 2);
    EXPECT_TRUE(zip->Files()->ToStringList().contains(name));
    EXPECT_TRUE(messages.empty());
}

struct HeaderCase {
    bool password;
    bool encryptNames;
    bool namesHidden;
};

class HeaderEncryption : public SevenZipTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(HeaderEncryption, NamesAreEncryptedOnlyWithPasswordAndOption)
{
    const HeaderCase c = GetParam();
    WriteFile(QStringLiteral("inf.txt"), QByteArray("Comunidad Norte\r\n2026\r\n"));
    zip->SetSZFileName(Path(QStringLiteral("h.7z")));
    zip->SetPassword(c.password ? QStringLiteral("pw") : QString());
    zip->SetAddOptions(TSevenZip::AddStoreOnlyFilename |
                       (c.encryptNames ? TSevenZip::AddEncryptFilename : TSevenZip::AddOpts()));
    zip->Files()->AddString(Path(QStringLiteral("inf.txt")));
    ASSERT_EQ(zip->Add(), 0);

    // Listing without the password shows the names unless they are encrypted.
    const CliResult listed =
        RunCli({QStringLiteral("l"), QStringLiteral("-p"), Path(QStringLiteral("h.7z"))});
    EXPECT_EQ(listed.output.contains(QStringLiteral("inf.txt")), !c.namesHidden) << qPrintable(listed.output);
    // The data are encrypted exactly when there is a password.
    const CliResult tested =
        RunCli({QStringLiteral("t"), QStringLiteral("-pwrong"), Path(QStringLiteral("h.7z"))});
    EXPECT_EQ(tested.exitCode == 0, !c.password) << qPrintable(tested.output);
}

INSTANTIATE_TEST_SUITE_P(Add, HeaderEncryption,
                         ::testing::Values(HeaderCase{true, true, true}, HeaderCase{true, false, false},
                                           HeaderCase{false, true, false}, HeaderCase{false, false, false}));

TEST_F(RoundTrip, StoredNamesFollowRootAndStoreOnlyFilename)
{
    WriteFile(QStringLiteral("Data/A/inf.txt"), QByteArray("a"));
    WriteFile(QStringLiteral("Data/B/sub/year.dat"), QByteArray("b"));
    const QStringList files{Path(QStringLiteral("Data/A/inf.txt")),
                            Path(QStringLiteral("Data/B/sub/year.dat"))};

    // Root compared without regard to case, and upper-cased in place.
    zip->SetSZFileName(Path(QStringLiteral("root.7z")));
    zip->SetAddRootDir(
        Path(QStringLiteral("data")).replace(QStringLiteral("/data"), QStringLiteral("/DATA")));
    zip->Files()->SetStrings(files);
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("root.7z"))).keys(),
              (QStringList{QStringLiteral("A/inf.txt"), QStringLiteral("B/sub/year.dat")}));
    EXPECT_EQ(zip->AddRootDir(), zip->AddRootDir().toUpper());

    // Without a root the absolute path is stored relative.
    zip->SetSZFileName(Path(QStringLiteral("noroot.7z")));
    zip->SetAddRootDir(QString());
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("noroot.7z"))).firstKey(), files[0].mid(1));

    zip->SetSZFileName(Path(QStringLiteral("bare.7z")));
    zip->SetAddOptions(TSevenZip::AddStoreOnlyFilename);
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("bare.7z"))).keys(),
              (QStringList{QStringLiteral("inf.txt"), QStringLiteral("year.dat")}));

    // OnSetAddName renames; a drive prefix and Windows separators are
    // turned into a relative stored name, with or without the drive letter.
    zip->SetAddOptions(TSevenZip::AddOpts());
    zip->OnSetAddName = [](QObject*, quint32 index, QString& name) {
        name = index == 0 ? QStringLiteral("C:\\Copia\\inf.txt") : QStringLiteral("..\\..\\x/./year.dat");
    };
    zip->SetSZFileName(Path(QStringLiteral("renamed.7z")));
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("renamed.7z"))).keys(),
              (QStringList{QStringLiteral("Copia/inf.txt"), QStringLiteral("x/year.dat")}));
    zip->SetAddOptions(TSevenZip::AddIncludeDriveLetter);
    zip->SetSZFileName(Path(QStringLiteral("drive.7z")));
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_TRUE(ItemsByPath(Path(QStringLiteral("drive.7z"))).contains(QStringLiteral("C/Copia/inf.txt")));
}

TEST_F(RoundTrip, MaskEntriesSearchFoldersAndRecurseOnlyWhenAsked)
{
    WriteFile(QStringLiteral("m/one.txt"), QByteArray("1"));
    WriteFile(QStringLiteral("m/two.TXT"), QByteArray("2"));
    WriteFile(QStringLiteral("m/skip.dat"), QByteArray("3"));
    WriteFile(QStringLiteral("m/deep/three.txt"), QByteArray("4"));
    zip->SetAddRootDir(Path(QStringLiteral("m")));
    zip->Files()->AddString(Path(QStringLiteral("m/*.txt")));
    zip->Files()->AddString(Path(QStringLiteral("m/missing.txt")));  // skipped silently

    zip->SetSZFileName(Path(QStringLiteral("flat.7z")));
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("flat.7z"))).keys(),
              (QStringList{QStringLiteral("one.txt"), QStringLiteral("two.TXT")}));
    zip->SetAddOptions(TSevenZip::AddRecurseDirs);
    zip->SetSZFileName(Path(QStringLiteral("deep.7z")));
    ASSERT_EQ(zip->Add(), 0);
    EXPECT_EQ(ItemsByPath(Path(QStringLiteral("deep.7z"))).keys(),
              (QStringList{QStringLiteral("deep/three.txt"), QStringLiteral("one.txt"),
                           QStringLiteral("two.TXT")}));
    EXPECT_TRUE(messages.empty());
}

struct LevelCase {
    TSevenZip::TCompressStrength strength;
    const char* cliLevel;
    bool largeInput;  // levels 7 and 9 differ only in dictionaries above 128 MiB
};

class CompressionLevel : public SevenZipTest, public ::testing::WithParamInterface<LevelCase> {};

TEST_P(CompressionLevel, MatchesTheCommandLineLevel)
{
    const LevelCase c = GetParam();
    QString input;
    if (c.largeInput) {
        // A sparse file of zeros: large enough to show the dictionary size,
        // cheap to compress.
        input = Path(QStringLiteral("zeros.bin"));
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(130LL * 1024 * 1024));
    } else {
        input = WriteFile(QStringLiteral("text.txt"), TextData(1500000, 6));
    }
    zip->SetSZFileName(Path(QStringLiteral("ours.7z")));
    zip->SetLZMACompressStrength(c.strength);
    zip->SetAddOptions(TSevenZip::AddStoreOnlyFilename);
    zip->Files()->AddString(input);
    ASSERT_EQ(zip->Add(), 0);
    const CliResult made = RunCli({QStringLiteral("a"), QStringLiteral("-mx") + QLatin1String(c.cliLevel),
                                   Path(QStringLiteral("theirs.7z")), input});
    ASSERT_EQ(made.exitCode, 0) << qPrintable(made.output);

    const auto ours = CliItems(Path(QStringLiteral("ours.7z")));
    const auto theirs = CliItems(Path(QStringLiteral("theirs.7z")));
    ASSERT_EQ(ours.size(), 1u);
    ASSERT_EQ(theirs.size(), 1u);
    EXPECT_EQ(ours[0].value(QStringLiteral("Method")), theirs[0].value(QStringLiteral("Method")));
    EXPECT_EQ(ours[0].value(QStringLiteral("Packed Size")), theirs[0].value(QStringLiteral("Packed Size")));
}

INSTANTIATE_TEST_SUITE_P(Add, CompressionLevel,
                         ::testing::Values(LevelCase{TSevenZip::SAVE, "0", false},
                                           LevelCase{TSevenZip::FAST, "3", false},
                                           LevelCase{TSevenZip::NORMAL, "5", false},
                                           LevelCase{TSevenZip::MAXIMUM, "7", true},
                                           LevelCase{TSevenZip::ULTRA, "9", true}));

}  // namespace
}  // namespace safekeep::test
