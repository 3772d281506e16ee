#include "toolkit/core/filereplacement.h"

#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>

namespace tk {
namespace {

// Everything in the folder, hidden files too, so an old file left aside
// shows.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class FileReplacementTest : public ::testing::Test {
protected:
    FileReplacementTest()
    {
        QDir().mkpath(folder.File(QStringLiteral("new")));
        QDir().mkpath(folder.File(QStringLiteral("host")));
        for (const char* name : {"a", "b", "c"})
            folder.Write(QStringLiteral("new/") + QLatin1String(name), QByteArray("new ") + name);
        // "c" is new to the host.
        folder.Write(QStringLiteral("host/a"), "old a");
        folder.Write(QStringLiteral("host/b"), "old b");
    }
    QString New(const char* name) const { return folder.File(QStringLiteral("new/") + QLatin1String(name)); }
    QString Host(const char* name) const
    {
        return folder.File(QStringLiteral("host/") + QLatin1String(name));
    }
    QByteArray HostBytes(const char* name) const
    {
        return folder.Read(QStringLiteral("host/") + QLatin1String(name));
    }
    void ReplaceAll(TFileReplacement& replacement)
    {
        for (const char* name : {"a", "b", "c"})
            ASSERT_TRUE(replacement.Replace(New(name), Host(name))) << name;
    }
    void ExpectHostAsBefore()
    {
        EXPECT_EQ(Entries(folder.File(QStringLiteral("host"))), (QStringList{"a", "b"}));
        EXPECT_EQ(HostBytes("a"), "old a");
        EXPECT_EQ(HostBytes("b"), "old b");
    }

    test::TempFolder folder;
};

TEST_F(FileReplacementTest, CommitKeepsTheNewFilesAndDropsTheOldOnes)
{
    TFileReplacement replacement;
    ReplaceAll(replacement);
    // Until the commit the old files are kept beside their targets.
    EXPECT_EQ(replacement.KeptAside().size(), 2);
    for (const QString& aside : replacement.KeptAside())
        EXPECT_TRUE(QFileInfo(aside).fileName().startsWith(QLatin1Char('.'))) << qPrintable(aside);
    replacement.Commit();
    EXPECT_EQ(Entries(folder.File(QStringLiteral("host"))), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(HostBytes("a"), "new a");
    EXPECT_EQ(HostBytes("c"), "new c");
}

TEST_F(FileReplacementTest, RollbackOrDestructionPutsEveryTargetBack)
{
    {
        TFileReplacement replacement;
        ReplaceAll(replacement);
        EXPECT_EQ(HostBytes("b"), "new b");
        EXPECT_TRUE(replacement.Rollback());
    }
    ExpectHostAsBefore();
    {
        TFileReplacement abandoned;
        ReplaceAll(abandoned);
    }
    ExpectHostAsBefore();
}

TEST_F(FileReplacementTest, AFailedReplaceLeavesItsTargetAndTheEarlierOnesUntilRollback)
{
    TFileReplacement replacement;
    ASSERT_TRUE(replacement.Replace(New("a"), Host("a")));
    // A source that cannot be read, and a target whose folder is missing.
    EXPECT_FALSE(replacement.Replace(folder.File(QStringLiteral("missing")), Host("b")));
    EXPECT_EQ(replacement.LastError(), ENOENT);
    EXPECT_FALSE(replacement.Replace(New("b"), folder.File(QStringLiteral("gone/b"))));
    EXPECT_EQ(HostBytes("b"), "old b");
    EXPECT_EQ(HostBytes("a"), "new a");
    EXPECT_EQ(replacement.Count(), 1);
    EXPECT_TRUE(replacement.Rollback());
    ExpectHostAsBefore();
}

TEST_F(FileReplacementTest, AFolderIsNeverReplacedAndALinkComesBackAsALink)
{
    QDir().mkpath(Host("folder"));
    TFileReplacement replacement;
    EXPECT_FALSE(replacement.Replace(New("a"), Host("folder")));
    EXPECT_EQ(replacement.LastError(), EISDIR);
    EXPECT_TRUE(QFileInfo(Host("folder")).isDir());

    // The new file takes the link's place; the file it led to is untouched.
    ASSERT_TRUE(QFile::link(Host("b"), Host("link")));
    ASSERT_TRUE(replacement.Replace(New("a"), Host("link")));
    EXPECT_FALSE(QFileInfo(Host("link")).isSymLink());
    EXPECT_EQ(HostBytes("link"), "new a");
    EXPECT_EQ(HostBytes("b"), "old b");
    EXPECT_TRUE(replacement.Rollback());
    EXPECT_EQ(QFileInfo(Host("link")).symLinkTarget(), Host("b"));
}

TEST_F(FileReplacementTest, AnOldFileThatCannotBePutBackStaysAsideWithItsBytes)
{
    TFileReplacement replacement;
    ReplaceAll(replacement);
    // Something took the place of "a" that a rename cannot replace.
    ASSERT_TRUE(QFile::remove(Host("a")));
    ASSERT_TRUE(QDir().mkpath(Host("a") + QStringLiteral("/occupied")));
    EXPECT_FALSE(replacement.Rollback());
    ASSERT_EQ(replacement.KeptAside().size(), 1);
    QFile aside(replacement.KeptAside().first());
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), "old a");
    // The others were still put back.
    EXPECT_EQ(HostBytes("b"), "old b");
    EXPECT_FALSE(QFile::exists(Host("c")));
}

}  // namespace
}  // namespace tk
