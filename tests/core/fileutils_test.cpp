#include "toolkit/core/fileutils.h"

#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {
namespace {

mode_t ModeOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info.st_mode & 07777;
}

// Everything in the folder, so tests can see that no temporary was left behind.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Sets the umask for one test and restores it.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(saved_); }

private:
    mode_t saved_;
};

TEST(FileUtils, AtomicWriteCreatesAndReplaces)
{
    ScopedUmask mask(022);
    test::TempFolder folder;
    const QString path = folder.File(QStringLiteral("a.ini"));
    ASSERT_TRUE(WriteFileAtomic(path, "first"));
    EXPECT_EQ(folder.Read(QStringLiteral("a.ini")), QByteArray("first"));
    EXPECT_EQ(ModeOf(path), 0644u);
    ASSERT_TRUE(WriteFileAtomic(path, "second"));
    EXPECT_EQ(folder.Read(QStringLiteral("a.ini")), QByteArray("second"));
    EXPECT_EQ(Entries(folder.Path()), QStringList{QStringLiteral("a.ini")});
}

TEST(FileUtils, AtomicWriteKeepsPermissionsOrUsesTheGivenMode)
{
    test::TempFolder folder;
    const QString existing = folder.Write(QStringLiteral("existing"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(existing).constData(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomic(existing, "new", 0600));
    EXPECT_EQ(ModeOf(existing), 0640u);

    const QString fresh = folder.File(QStringLiteral("fresh"));
    ASSERT_TRUE(WriteFileAtomic(fresh, "new", 0600));
    EXPECT_EQ(ModeOf(fresh), 0600u);
}

TEST(FileUtils, FailedAtomicWriteLeavesNoTemporaryAndTheTargetIntact)
{
    test::TempFolder folder;
    // A non-empty folder cannot be replaced by a file: the rename fails after
    // the temporary was written.
    const QString target = folder.File(QStringLiteral("target"));
    ASSERT_TRUE(QDir().mkdir(target));
    folder.Write(QStringLiteral("target/keep.txt"), "kept");
    EXPECT_FALSE(WriteFileAtomic(target, "bytes"));
    EXPECT_EQ(LastFileError(), EISDIR);
    EXPECT_EQ(Entries(folder.Path()), QStringList{QStringLiteral("target")});
    EXPECT_EQ(folder.Read(QStringLiteral("target/keep.txt")), QByteArray("kept"));

    EXPECT_FALSE(WriteFileAtomic(folder.File(QStringLiteral("missing/file")), "bytes"));
    EXPECT_EQ(LastFileError(), ENOENT);
}

TEST(FileUtils, AtomicWriteIntoReadOnlyFolderKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write into read-only folders";
    test::TempFolder folder;
    const QString path = folder.Write(QStringLiteral("a.ini"), "old");
    ASSERT_EQ(::chmod(QFile::encodeName(folder.Path()).constData(), 0555), 0);
    EXPECT_FALSE(WriteFileAtomic(path, "new"));
    EXPECT_EQ(LastFileError(), EACCES);
    ::chmod(QFile::encodeName(folder.Path()).constData(), 0755);
    EXPECT_EQ(folder.Read(QStringLiteral("a.ini")), QByteArray("old"));
}

TEST(FileUtils, AtomicWriteReplacesASymbolicLinkNotItsTarget)
{
    test::TempFolder folder;
    const QString real = folder.Write(QStringLiteral("real"), "real");
    const QString link = folder.File(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(WriteFileAtomic(link, "new"));
    EXPECT_EQ(folder.Read(QStringLiteral("real")), QByteArray("real"));
    EXPECT_EQ(folder.Read(QStringLiteral("link")), QByteArray("new"));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(FileUtils, CopyFileCopiesContentModeAndTime)
{
    test::TempFolder folder;
    const QString source = folder.Write(QStringLiteral("src.dat"), QByteArray(200000, 'x'));
    ASSERT_EQ(::chmod(QFile::encodeName(source).constData(), 0640), 0);
    const QDateTime age(QDate(2024, 3, 1), QTime(10, 20, 30, 400));
    ASSERT_TRUE(SetFileAge(source, age));
    const QString target = folder.File(QStringLiteral("dst.dat"));
    ASSERT_TRUE(CopyFile(source, target, true));
    EXPECT_EQ(folder.Read(QStringLiteral("dst.dat")), QByteArray(200000, 'x'));
    EXPECT_EQ(ModeOf(target), 0640u);
    EXPECT_EQ(FileAge(target), age);
}

TEST(FileUtils, CopyFileRespectsFailIfExists)
{
    test::TempFolder folder;
    const QString source = folder.Write(QStringLiteral("src"), "new");
    const QString target = folder.Write(QStringLiteral("dst"), "old");
    EXPECT_FALSE(CopyFile(source, target, true));
    EXPECT_EQ(LastFileError(), EEXIST);
    EXPECT_EQ(folder.Read(QStringLiteral("dst")), QByteArray("old"));
    EXPECT_TRUE(CopyFile(source, target, false));
    EXPECT_EQ(folder.Read(QStringLiteral("dst")), QByteArray("new"));
    EXPECT_EQ(Entries(folder.Path()), (QStringList{QStringLiteral("dst"), QStringLiteral("src")}));
}

TEST(FileUtils, FailedCopyLeavesTheOldTargetIntact)
{
    test::TempFolder folder;
    const QString target = folder.Write(QStringLiteral("dst"), "old");
    // A folder opens but fails on the first read, after the temporary exists.
    ASSERT_TRUE(QDir().mkdir(folder.File(QStringLiteral("src"))));
    EXPECT_FALSE(CopyFile(folder.File(QStringLiteral("src")), target, false));
    EXPECT_EQ(LastFileError(), EISDIR);
    EXPECT_FALSE(CopyFile(folder.File(QStringLiteral("missing")), target, false));
    EXPECT_EQ(LastFileError(), ENOENT);
    EXPECT_EQ(folder.Read(QStringLiteral("dst")), QByteArray("old"));
    EXPECT_EQ(Entries(folder.Path()), (QStringList{QStringLiteral("dst"), QStringLiteral("src")}));
}

TEST(FileUtils, FilesAndFolders)
{
    test::TempFolder folder;
    const QString file = folder.Write(QStringLiteral("f"), "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder.Path()));
    EXPECT_TRUE(DirectoryExists(folder.Path()));
    EXPECT_FALSE(DirectoryExists(file));

    EXPECT_FALSE(CreateDir(folder.File(QStringLiteral("a/b"))));
    EXPECT_EQ(LastFileError(), ENOENT);
    EXPECT_TRUE(CreateDir(folder.File(QStringLiteral("a"))));
    EXPECT_FALSE(CreateDir(folder.File(QStringLiteral("a"))));
    EXPECT_TRUE(ForceDirectories(folder.File(QStringLiteral("x//y/z/"))));
    EXPECT_TRUE(DirectoryExists(folder.File(QStringLiteral("x/y/z"))));
    EXPECT_TRUE(ForceDirectories(folder.File(QStringLiteral("x/y/z"))));
    EXPECT_FALSE(ForceDirectories(folder.File(QStringLiteral("f/sub"))));
    EXPECT_FALSE(ForceDirectories(QString()));

    EXPECT_FALSE(DeleteFile(folder.File(QStringLiteral("a"))));
    EXPECT_FALSE(RemoveDir(folder.File(QStringLiteral("x"))));
    EXPECT_EQ(LastFileError(), ENOTEMPTY);
    EXPECT_TRUE(RemoveDir(folder.File(QStringLiteral("a"))));
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
}

TEST(FileUtils, ForceDirectoriesUsesTheGivenMode)
{
    ScopedUmask mask(022);
    test::TempFolder folder;
    ASSERT_TRUE(ForceDirectories(folder.File(QStringLiteral("p/q")), 0700));
    EXPECT_EQ(ModeOf(folder.File(QStringLiteral("p"))), 0700u);
    EXPECT_EQ(ModeOf(folder.File(QStringLiteral("p/q"))), 0700u);
}

TEST(FileUtils, FindFilesListsMatchingFilesSortedWithoutCase)
{
    test::TempFolder folder;
    for (const char* name : {"b.txt", "A.TXT", "c.dat", "noext", "C.txt"})
        folder.Write(QString::fromLatin1(name), "x");
    ASSERT_TRUE(QDir().mkdir(folder.File(QStringLiteral("d.txt"))));
    EXPECT_EQ(FindFiles(folder.Path(), QStringLiteral("*.txt")),
              (QStringList{QStringLiteral("A.TXT"), QStringLiteral("b.txt"), QStringLiteral("C.txt")}));
    EXPECT_EQ(FindFiles(folder.Path(), QStringLiteral("*.*")).size(), 5);
    EXPECT_EQ(FindFiles(folder.Path(), QStringLiteral("?.dat")), QStringList{QStringLiteral("c.dat")});
    EXPECT_TRUE(FindFiles(folder.File(QStringLiteral("missing")), QStringLiteral("*")).isEmpty());
}

TEST(FileUtils, ResolveCaseInsensitiveFindsOnlyAUniqueMatch)
{
    test::TempFolder folder;
    folder.Write(QStringLiteral("2026.DAT"), "x");
    const QString exact = folder.File(QStringLiteral("2026.DAT"));
    EXPECT_EQ(ResolveCaseInsensitive(exact), exact);
    EXPECT_EQ(ResolveCaseInsensitive(folder.File(QStringLiteral("2026.dat"))), exact);
    EXPECT_EQ(ResolveCaseInsensitive(folder.File(QStringLiteral("2025.dat"))),
              folder.File(QStringLiteral("2025.dat")));

    folder.Write(QStringLiteral("2026.Dat"), "y");
    const QString ambiguous = folder.File(QStringLiteral("2026.dat"));
    EXPECT_EQ(ResolveCaseInsensitive(ambiguous), ambiguous);
    const QString noFolder = folder.File(QStringLiteral("none/2026.dat"));
    EXPECT_EQ(ResolveCaseInsensitive(noFolder), noFolder);
}

TEST(FileUtils, BareFileNamesCannotClimbOutOfTheirFolder)
{
    for (const char* name : {"2026.mdb", "Comunidad Uno", ".hidden", "a..b", "...", " .. "})
        EXPECT_TRUE(IsBareFileName(QString::fromUtf8(name))) << name;
    for (const char* name : {"", ".", "..", "../x", "a/b", "/abs", "a\\..\\b", "x/", "/"})
        EXPECT_FALSE(IsBareFileName(QString::fromUtf8(name))) << name;
    EXPECT_FALSE(IsBareFileName(QStringLiteral("a") + QChar(0) + QStringLiteral("b")));
}

TEST(FileUtils, FileAgeRoundTripsAndIsInvalidForNonFiles)
{
    test::TempFolder folder;
    const QString file = folder.Write(QStringLiteral("f"), "x");
    const QDateTime before1970(QDate(1965, 5, 6), QTime(7, 8, 9, 250), QTimeZone::utc());
    ASSERT_TRUE(SetFileAge(file, before1970));
    EXPECT_EQ(FileAge(file), before1970);
    EXPECT_FALSE(FileAge(folder.File(QStringLiteral("missing"))).isValid());
    EXPECT_FALSE(FileAge(folder.Path()).isValid());
    EXPECT_FALSE(SetFileAge(folder.File(QStringLiteral("missing")), before1970));
    EXPECT_FALSE(SetFileAge(file, QDateTime()));
}

TEST(FileUtils, FileTimeConversion)
{
    const QDateTime unixEpoch(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(DateTimeToFileTime(unixEpoch), 116444736000000000ULL);
    const QDateTime y2k(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc());
    EXPECT_EQ(DateTimeToFileTime(y2k), 125911584000000000ULL);
    EXPECT_EQ(FileTimeToDateTime(125911584000000000ULL), y2k);
    const QDateTime withMillis(QDate(2026, 2, 3), QTime(4, 5, 6, 789), QTimeZone::utc());
    EXPECT_EQ(FileTimeToDateTime(DateTimeToFileTime(withMillis)), withMillis);
    EXPECT_EQ(FileTimeToDateTime(0), QDateTime(QDate(1601, 1, 1), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(DateTimeToFileTime(QDateTime()), 0u);
    EXPECT_EQ(DateTimeToFileTime(QDateTime(QDate(1500, 1, 1), QTime(0, 0), QTimeZone::utc())), 0u);
}

struct PathCase {
    QString (*function)(const QString&);
    const char* functionName;
    const char* input;
    const char* expected;
};

void PrintTo(const PathCase& c, std::ostream* os)
{
    *os << c.functionName << "(\"" << c.input << "\")";
}

class PathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(PathTest, GivesTheClassicResult)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(c.function(QString::fromLatin1(c.input)), QString::fromLatin1(c.expected));
}

QString ChangeToBak(const QString& path)
{
    return ChangeFileExt(path, QStringLiteral(".bak"));
}

#define PATH_CASE(function, input, expected)                                                                 \
    PathCase                                                                                                 \
    {                                                                                                        \
        function, #function, input, expected                                                                 \
    }

INSTANTIATE_TEST_SUITE_P(
    FileUtils, PathTest,
    ::testing::Values(
        PATH_CASE(ChangeToBak, "a/b.txt", "a/b.bak"), PATH_CASE(ChangeToBak, "a.d/c", "a.d/c.bak"),
        PATH_CASE(ChangeToBak, "a/b.tar.gz", "a/b.tar.bak"), PATH_CASE(ChangeToBak, "a/.hidden", "a/.bak"),
        PATH_CASE(ChangeToBak, "", ".bak"), PATH_CASE(ExtractFilePath, "/a/b.txt", "/a/"),
        PATH_CASE(ExtractFilePath, "b.txt", ""), PATH_CASE(ExtractFilePath, "/", "/"),
        PATH_CASE(ExtractFileName, "/a/b.txt", "b.txt"), PATH_CASE(ExtractFileName, "a/", ""),
        PATH_CASE(ExtractFileName, "b", "b"), PATH_CASE(ExtractFileExt, "a/b.tar.gz", ".gz"),
        PATH_CASE(ExtractFileExt, "a.d/c", ""), PATH_CASE(ExtractFileExt, "file.", "."),
        PATH_CASE(ExtractFileExt, "x.INI", ".INI"), PATH_CASE(IncludeTrailingPathDelimiter, "", "/"),
        PATH_CASE(IncludeTrailingPathDelimiter, "a", "a/"),
        PATH_CASE(IncludeTrailingPathDelimiter, "a/", "a/"),
        PATH_CASE(ExcludeTrailingPathDelimiter, "a/", "a"),
        PATH_CASE(ExcludeTrailingPathDelimiter, "a//", "a/"),
        PATH_CASE(ExcludeTrailingPathDelimiter, "/", ""), PATH_CASE(ExcludeTrailingPathDelimiter, "a", "a")));

}  // namespace
}  // namespace tk
