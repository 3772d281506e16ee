// Bad input gets a clear numbered message and loses nothing: missing or
// damaged archives, wrong passwords, items that cannot be written, and a
// missing library.
#include "safekeep/sevenzip/abi.h"
#include "tests/sevenzip/sevenzip_fixture.h"
#include "toolkit/core/exceptions.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>

namespace safekeep::test {
namespace {

class Failures : public SevenZipTest {
protected:
    // An archive of two root files made by the command line.
    QString MakeArchive(const QString& name, const QStringList& options)
    {
        WriteFile(QStringLiteral("src/uno.txt"), TextData(200000, 7));
        WriteFile(QStringLiteral("src/dos.txt"), TextData(1000, 8));
        const QString archive = Path(name);
        const CliResult made = RunCli(
            QStringList{QStringLiteral("a")} + options +
            QStringList{archive, Path(QStringLiteral("src/uno.txt")), Path(QStringLiteral("src/dos.txt"))});
        EXPECT_EQ(made.exitCode, 0) << qPrintable(made.output);
        return archive;
    }
    // A wrong key turns the compressed stream into noise. The decoder
    // refuses noise at its first byte unless that byte happens to be 0 (one
    // archive in 256, as the salt falls); then it decodes to the end and the
    // checksum fails instead. Either way nothing is written.
    static void ExpectUndecryptable(const Message& message)
    {
        if (message.code == 3) {
            EXPECT_EQ(message.text, QStringLiteral("CRC Error"));
        } else {
            EXPECT_EQ(message.code, 2);
            EXPECT_EQ(message.text, QStringLiteral("Data Error"));
        }
    }
        void ExpectOnlyMessage(int code, const QString& text, const QString& fileName)
    {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].code, code);
        EXPECT_EQ(messages[0].text, text);
        EXPECT_EQ(messages[0].fileName, fileName);
        EXPECT_EQ(zip->ErrCode(), code);
    }
};

TEST_F(Failures, AddWithoutFilesReportsCode10AndKeepsTheOldArchive)
{
    const QString archive = WriteFile(QStringLiteral("old.7z"), QByteArray("previous backup"));
    zip->SetSZFileName(archive);
    EXPECT_EQ(zip->Add(), -1);
    zip->Files()->AddString(Path(QStringLiteral("missing.txt")));
    zip->Files()->AddString(Path(QStringLiteral("nothing/*.txt")));
    EXPECT_EQ(zip->Add(), -1);
    ASSERT_EQ(messages.size(), 2u);
    for (const Message& message : messages) {
        EXPECT_EQ(message.code, 10);
        EXPECT_EQ(message.text, QStringLiteral("No files to add"));
        EXPECT_EQ(message.fileName, QString());
    }
    EXPECT_EQ(ReadFile(QStringLiteral("old.7z")), QByteArray("previous backup"));
    EXPECT_EQ(Entries(QString()), QStringList{QStringLiteral("old.7z")});
}

TEST_F(Failures, AddIntoAMissingFolderAbortsSilently)
{
    WriteFile(QStringLiteral("a.txt"), QByteArray("a"));
    zip->Files()->AddString(Path(QStringLiteral("a.txt")));
    zip->SetSZFileName(Path(QStringLiteral("no/such/folder/x.7z")));
    EXPECT_THROW(zip->Add(), tk::EAbort);
    EXPECT_EQ(zip->LastError(), ENOENT);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Failures, ArchivesThatCannotBeOpenedReportCode1Or2)
{
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    // Missing, and not an archive at all: "File not found".
    zip->SetSZFileName(Path(QStringLiteral("missing.7z")));
    EXPECT_EQ(zip->Extract(), -1);
    ExpectOnlyMessage(1, QStringLiteral("File not found"), Path(QStringLiteral("missing.7z")));
    EXPECT_EQ(zip->LastError(), ENOENT);
    messages.clear();
    zip->SetSZFileName(WriteFile(QStringLiteral("text.7z"), TextData(5000, 9)));
    EXPECT_EQ(zip->List(), -1);
    EXPECT_EQ(zip->NumberOfFiles(), -1);
    ExpectOnlyMessage(1, QStringLiteral("File not found"), Path(QStringLiteral("text.7z")));
    messages.clear();

    // A 7z archive cut short is damaged, not missing.
    const QString archive = MakeArchive(QStringLiteral("whole.7z"), {});
    QByteArray bytes = ReadFile(QStringLiteral("whole.7z"));
    bytes.chop(bytes.size() / 3);
    zip->SetSZFileName(WriteFile(QStringLiteral("cut.7z"), bytes));
    EXPECT_EQ(zip->Extract(), -1);
    ExpectOnlyMessage(2, QStringLiteral("Data Error"), Path(QStringLiteral("cut.7z")));
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("out"))));
}

TEST_F(Failures, WrongPasswordIsADataErrorAndLeavesNothing)
{
    // Names readable: every item fails, nothing is written, an existing
    // file of the same name keeps its content.
    zip->SetSZFileName(MakeArchive(QStringLiteral("plain.7z"), {QStringLiteral("-pright")}));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    WriteFile(QStringLiteral("out/dos.txt"), QByteArray("keep me"));
    zip->SetExtractOptions(TSevenZip::ExtractOverwrite);
    zip->SetPassword(QStringLiteral("wrong"));
    EXPECT_NE(zip->Extract(), 0);
    ASSERT_EQ(messages.size(), 2u);
    for (const Message& message : messages)
        ExpectUndecryptable(message);
    EXPECT_EQ(Entries(QStringLiteral("out")), QStringList{QStringLiteral("dos.txt")});
    EXPECT_EQ(ReadFile(QStringLiteral("out/dos.txt")), QByteArray("keep me"));

    // No password at all: the same.
    messages.clear();
    zip->SetPassword(QString());
    EXPECT_NE(zip->Extract(), 0);
    EXPECT_FALSE(messages.empty());
    for (const Message& message : messages)
        ExpectUndecryptable(message);
    EXPECT_EQ(Entries(QStringLiteral("out")), QStringList{QStringLiteral("dos.txt")});

    // Names encrypted: the archive cannot be opened with that password.
    messages.clear();
    zip->SetSZFileName(
        MakeArchive(QStringLiteral("hidden.7z"), {QStringLiteral("-pright"), QStringLiteral("-mhe=on")}));
    zip->SetPassword(QStringLiteral("wrong"));
    EXPECT_EQ(zip->Extract(), -1);
    ExpectOnlyMessage(2, QStringLiteral("Data Error"), Path(QStringLiteral("hidden.7z")));
    EXPECT_EQ(Entries(QStringLiteral("out")), QStringList{QStringLiteral("dos.txt")});
}

TEST_F(Failures, StoredDataWithWrongPasswordNeverReachesTheTarget)
{
    // Without compression the library writes the undecryptable bytes before
    // it finds the CRC error; they must stay in the temporary file.
    zip->SetSZFileName(
        MakeArchive(QStringLiteral("copy.7z"), {QStringLiteral("-pright"), QStringLiteral("-mx0")}));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    zip->SetPassword(QStringLiteral("wrong"));
    EXPECT_NE(zip->Extract(), 0);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, 3);
    EXPECT_EQ(messages[0].text, QStringLiteral("CRC Error"));
    EXPECT_TRUE(Entries(QStringLiteral("out")).isEmpty());
}

TEST_F(Failures, DamagedDataFailsOnlyTheDamagedItem)
{
    // Not solid, not compressed: flipping bytes in the first item's data
    // damages that item only.
    const QString archive =
        MakeArchive(QStringLiteral("copy.7z"), {QStringLiteral("-mx0"), QStringLiteral("-ms=off")});
    QByteArray bytes = ReadFile(QStringLiteral("copy.7z"));
    const qsizetype at = bytes.indexOf(TextData(200000, 7).mid(1000, 64));
    ASSERT_GT(at, 0);
    bytes[at] = char(bytes[at] ^ 0x55);
    WriteFile(QStringLiteral("copy.7z"), bytes);
    zip->SetSZFileName(archive);
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    EXPECT_EQ(zip->Extract(), int(sz::E_FAIL));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 3);
    EXPECT_EQ(messages[0].fileName, Path(QStringLiteral("out/uno.txt")));
    EXPECT_EQ(Entries(QStringLiteral("out")), QStringList{QStringLiteral("dos.txt")});
    EXPECT_EQ(ReadFile(QStringLiteral("out/dos.txt")), TextData(1000, 8));
}

TEST_F(Failures, RequestedItemsOutOfRangeReportCode5)
{
    zip->SetSZFileName(MakeArchive(QStringLiteral("a.7z"), {}));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    for (const QString& entry : {QStringLiteral("2"), QStringLiteral("-1"), QStringLiteral("tres.txt")}) {
        messages.clear();
        zip->Files()->SetStrings({QStringLiteral("0"), entry});
        EXPECT_EQ(zip->Extract(), -1);
        ExpectOnlyMessage(5, QStringLiteral("Index out of Range"), QString());
    }
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("out"))));
}

TEST_F(Failures, ExeThatIsNoSelfExtractorReportsCode7)
{
    MakeArchive(QStringLiteral("plain.7z"), {});
    QFile::copy(Path(QStringLiteral("plain.7z")), Path(QStringLiteral("plain.EXE")));
    zip->SetSZFileName(Path(QStringLiteral("plain.EXE")));
    EXPECT_EQ(zip->Extract(), -1);
    ExpectOnlyMessage(7, QStringLiteral("File is not an 7z SFX archive"), Path(QStringLiteral("plain.EXE")));
    EXPECT_FALSE(zip->IsSFX());
}

TEST_F(Failures, ItemsThatCannotBeCreatedReportCode11AndTheRestIsExtracted)
{
    zip->SetSZFileName(MakeArchive(QStringLiteral("a.7z"), {}));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    // A folder where the file should go.
    QDir().mkpath(Path(QStringLiteral("out/uno.txt")));
    zip->SetExtractOptions(TSevenZip::ExtractOverwrite);
    EXPECT_EQ(zip->Extract(), int(sz::E_FAIL));
    ExpectOnlyMessage(11, QStringLiteral("Could not create file"), Path(QStringLiteral("out/uno.txt")));
    EXPECT_EQ(zip->LastError(), EISDIR);
    EXPECT_EQ(ReadFile(QStringLiteral("out/dos.txt")), TextData(1000, 8));
    EXPECT_TRUE(Entries(QStringLiteral("out/uno.txt")).isEmpty());
}

TEST_F(Failures, SuccessSetsCodeZeroWithoutAMessage)
{
    zip->SetSZFileName(MakeArchive(QStringLiteral("a.7z"), {}));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    zip->Files()->AddString(QStringLiteral("9"));
    EXPECT_EQ(zip->Extract(), -1);
    EXPECT_EQ(zip->ErrCode(), 5);
    zip->Files()->Clear();
    EXPECT_EQ(zip->Extract(), 0);
    EXPECT_EQ(zip->ErrCode(), 0);
    EXPECT_EQ(messages.size(), 1u);
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QString& value) : name_(name), old_(qgetenv(name))
    {
        had_ = qEnvironmentVariableIsSet(name);
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

TEST(SevenZipLibrary, AMissingOrForeignLibraryRaisesTheFixedText)
{
    const QString expected =
        QStringLiteral("Could not load CreateObject function from 7za.dll\r\nPerhaps 7za.dll not found");
    tk::test::TempFolder folder;
    const QString foreign = folder.Write(QStringLiteral("7z.so"), QByteArray("not a library"));
    for (const QString& library :
         {folder.File(QStringLiteral("missing.so")), foreign, QStringLiteral("libc.so.6")}) {
        ScopedEnvironment environment("KS_SEVENZIP_LIBRARY", library);
        try {
            TSevenZip zip;
            ADD_FAILURE() << "loaded " << library.toStdString();
        } catch (const tk::Exception& e) {
            EXPECT_EQ(e.Message(), expected);
        }
    }
    ScopedEnvironment environment("KS_SEVENZIP_LIBRARY", QStringLiteral("/usr/lib/p7zip/7z.so"));
    EXPECT_EQ(TSevenZip().LibraryFileName(), QStringLiteral("/usr/lib/p7zip/7z.so"));
}

}  // namespace
}  // namespace safekeep::test
