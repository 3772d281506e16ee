// Extract's choices: which items (all, by index, by stored name), where they
// go (paths kept or dropped, renamed by OnSetExtractName), what happens to
// existing files, and test mode.
#include "tests/sevenzip/sevenzip_fixture.h"

#include <QFileInfo>

namespace safekeep::test {
namespace {

class ExtractTest : public SevenZipTest {
protected:
    // a.7z: folder "d" with uno.txt, sub/dos.txt, and tres.txt at the root.
    ExtractTest()
    {
        WriteFile(QStringLiteral("src/d/uno.txt"), QByteArray("uno"));
        WriteFile(QStringLiteral("src/d/sub/dos.txt"), QByteArray("dos"));
        WriteFile(QStringLiteral("src/tres.txt"), QByteArray("tres"));
        const CliResult made = RunCli({QStringLiteral("a"), Path(QStringLiteral("a.7z")),
                                       Path(QStringLiteral("src/d")), Path(QStringLiteral("src/tres.txt"))});
        EXPECT_EQ(made.exitCode, 0) << qPrintable(made.output);
        zip->SetSZFileName(Path(QStringLiteral("a.7z")));
        zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    }
    int IndexOf(const QString& name) { return zip->GetIndexByFilename(name); }
};

TEST_F(ExtractTest, ExistingFilesAreReplacedOnlyWhenAllowed)
{
    QStringList asked;
    bool answer = false;
    auto ask = [&](QObject*, const QString& fileName, bool& overwrite) {
        asked << fileName;
        overwrite = answer;
    };
    const QString target = Path(QStringLiteral("out/tres.txt"));
    struct Round {
        bool handler;
        bool answer;
        bool option;
        QByteArray expected;
        int questions;
    };
    // From the second round on all three files exist and are asked about.
    for (const Round& round : {Round{false, false, false, "old", 0}, Round{true, false, false, "old", 3},
                               Round{true, true, false, "tres", 3}, Round{true, false, true, "tres", 0}}) {
        WriteFile(QStringLiteral("out/tres.txt"), QByteArray("old"));
        asked.clear();
        answer = round.answer;
        zip->OnExtractOverwrite = round.handler ? TSevenZip::TExtractOverwriteEvent(ask) : nullptr;
        zip->SetExtractOptions(round.option ? TSevenZip::ExtractOverwrite : TSevenZip::ExtractOpts());
        EXPECT_EQ(zip->Extract(), 0);
        EXPECT_EQ(ReadFile(QStringLiteral("out/tres.txt")), round.expected);
        EXPECT_EQ(asked.size(), round.questions);
        EXPECT_EQ(asked.contains(target), round.questions > 0);
    }
    EXPECT_EQ(ReadFile(QStringLiteral("out/d/sub/dos.txt")), QByteArray("dos"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ExtractTest, FilesSelectItemsByIndexOrStoredName)
{
    int announced = -1;
    zip->OnPreProgress = [&](QObject*, qint64 total) { announced = int(total); };
    zip->Files()->SetStrings(
        {QStringLiteral("D\\SUB\\DOS.TXT"), QString::number(IndexOf(QStringLiteral("tres.txt")))});
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(announced, 7);
    EXPECT_EQ(ReadFile(QStringLiteral("out/d/sub/dos.txt")), QByteArray("dos"));
    EXPECT_EQ(ReadFile(QStringLiteral("out/tres.txt")), QByteArray("tres"));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("out/d/uno.txt"))));
}

TEST_F(ExtractTest, GetIndexByFilenameMatchesExactlyThenUniquelyWithoutCase)
{
    ASSERT_EQ(zip->List(), 5);
    const QStringList names = zip->Files()->ToStringList();
    EXPECT_EQ(IndexOf(QStringLiteral("d/sub/dos.txt")), names.indexOf(QStringLiteral("d/sub/dos.txt")));
    EXPECT_EQ(IndexOf(QStringLiteral("d\\sub\\dos.txt")), names.indexOf(QStringLiteral("d/sub/dos.txt")));
    EXPECT_EQ(IndexOf(QStringLiteral("D/Sub/")), names.indexOf(QStringLiteral("d/sub/")));
    EXPECT_EQ(IndexOf(QStringLiteral("nada.txt")), -1);

    // Two names that differ only in case: only the exact one is found.
    WriteFile(QStringLiteral("case/X.txt"), QByteArray("1"));
    WriteFile(QStringLiteral("case/x.txt"), QByteArray("2"));
    ASSERT_EQ(RunCli({QStringLiteral("a"), Path(QStringLiteral("c.7z")), Path(QStringLiteral("case/X.txt")),
                      Path(QStringLiteral("case/x.txt"))})
                  .exitCode,
              0);
    zip->SetSZFileName(Path(QStringLiteral("c.7z")));
    EXPECT_GE(IndexOf(QStringLiteral("x.txt")), 0);
    EXPECT_NE(IndexOf(QStringLiteral("x.txt")), IndexOf(QStringLiteral("X.txt")));
    EXPECT_EQ(IndexOf(QStringLiteral("x.TXT")), -1);
    zip->SetSZFileName(Path(QStringLiteral("missing.7z")));
    EXPECT_EQ(IndexOf(QStringLiteral("x.txt")), -1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ExtractTest, NoPathDropsFoldersAndSetExtractNameRedirects)
{
    zip->SetExtractOptions(TSevenZip::ExtractNoPath);
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(
        Entries(QStringLiteral("out")),
        (QStringList{QStringLiteral("dos.txt"), QStringLiteral("tres.txt"), QStringLiteral("uno.txt")}));

    zip->SetExtractOptions(TSevenZip::ExtractOpts());
    zip->OnSetExtractName = [&](QObject*, quint32 index, QString& name) {
        if (name.endsWith(QStringLiteral("dos.txt")))
            name = Path(QStringLiteral("elsewhere/renamed.txt"));
        EXPECT_LT(index, 5u);
    };
    zip->SetExtrBaseDir(Path(QStringLiteral("second")));
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(ReadFile(QStringLiteral("elsewhere/renamed.txt")), QByteArray("dos"));
    EXPECT_EQ(Entries(QStringLiteral("second/d/sub")), QStringList());
    EXPECT_EQ(ReadFile(QStringLiteral("second/d/uno.txt")), QByteArray("uno"));
}

TEST_F(ExtractTest, TestModeChecksWithoutWriting)
{
    QStringList started;
    zip->OnExtractfile = [&](QObject*, const QString& name, qint64) { started << name; };
    EXPECT_EQ(zip->Extract(true), 0);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("out"))));
    started.sort();
    EXPECT_EQ(started, (QStringList{QStringLiteral("d/sub/dos.txt"), QStringLiteral("d/uno.txt"),
                                    QStringLiteral("tres.txt")}));
    EXPECT_EQ(zip->ErrCode(), 0);

    // A damaged copy fails the test with a message and writes nothing.
    QByteArray bytes = ReadFile(QStringLiteral("a.7z"));
    bytes[40] = char(bytes[40] ^ 0xFF);
    zip->SetSZFileName(WriteFile(QStringLiteral("bad.7z"), bytes));
    EXPECT_NE(zip->Extract(true), 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(messages[0].code == 2 || messages[0].code == 3);
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("out"))));
}

}  // namespace
}  // namespace safekeep::test
