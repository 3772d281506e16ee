// Hostile archives: stored names that point outside the extraction folder,
// links planted on the way, and link items, never lead to a write outside
// the extraction folder or to a symbolic link being created or followed.
#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/sfx.h"
#include "tests/sevenzip/sevenzip_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace safekeep::test {
namespace {

void WriteUInt32(QByteArray& bytes, qsizetype at, uint32_t value)
{
    for (int index = 0; index < 4; ++index)
        bytes[at + index] = char((value >> (8 * index)) & 0xFF);
}

uint64_t ReadUInt64(const QByteArray& bytes, qsizetype at)
{
    uint64_t value = 0;
    for (int index = 7; index >= 0; --index)
        value = (value << 8) | uint8_t(bytes[at + index]);
    return value;
}

// The command line never stores such names, so the archive is made with
// harmless names of the same length, its uncompressed header patched and its
// checksums computed again.
QByteArray PatchNames(QByteArray archive, const QList<QPair<QString, QString>>& renames)
{
    for (const auto& [from, to] : renames) {
        const QByteArray fromBytes(reinterpret_cast<const char*>(from.utf16()), from.size() * 2);
        const QByteArray toBytes(reinterpret_cast<const char*>(to.utf16()), to.size() * 2);
        const qsizetype at = archive.lastIndexOf(fromBytes);
        if (at < 0 || fromBytes.size() != toBytes.size())
            return QByteArray();
        archive.replace(at, toBytes.size(), toBytes);
    }
    const qsizetype headerStart = qsizetype(32 + ReadUInt64(archive, 12));
    const qsizetype headerSize = qsizetype(ReadUInt64(archive, 20));
    const auto* data = reinterpret_cast<const unsigned char*>(archive.constData());
    WriteUInt32(archive, 28, sz::Crc32(data + headerStart, size_t(headerSize)));
    WriteUInt32(archive, 8, sz::Crc32(data + 12, 20));
    return archive;
}

using Hostile = SevenZipTest;

TEST_F(Hostile, NamesLeavingTheExtractionFolderAreRefusedWithCode11)
{
    const QList<QPair<QString, QString>> renames{
        {QStringLiteral("..zevil.txt"), QStringLiteral("../evil.txt")},
        {QStringLiteral("..zback.txt"), QStringLiteral("..\\back.txt")},
        {QStringLiteral("subz..z..zesc.txt"), QStringLiteral("sub/../../esc.txt")},
        {QStringLiteral("zabs.txt"), QStringLiteral("/abs.txt")},
        {QStringLiteral("C_drive.txt"), QStringLiteral("C:drive.txt")},
    };
    QStringList arguments{QStringLiteral("a"), QStringLiteral("-mhc=off"), Path(QStringLiteral("made.7z"))};
    for (const auto& rename : renames)
        arguments << WriteFile(QStringLiteral("src/") + rename.first, QByteArray("bad"));
    arguments << WriteFile(QStringLiteral("src/fine.txt"), QByteArray("good"));
    ASSERT_EQ(RunCli(arguments).exitCode, 0);
    const QByteArray patched = PatchNames(ReadFile(QStringLiteral("made.7z")), renames);
    ASSERT_FALSE(patched.isEmpty());
    WriteFile(QStringLiteral("hostile.7z"), patched);
    // The command line agrees the archive is sound apart from its names.
    ASSERT_EQ(RunCli({QStringLiteral("t"), Path(QStringLiteral("hostile.7z"))}).exitCode, 0);

    zip->SetSZFileName(Path(QStringLiteral("hostile.7z")));
    ASSERT_EQ(zip->List(), 6);
    for (const auto& rename : renames)
        EXPECT_TRUE(zip->Files()->ToStringList().contains(rename.second)) << rename.second.toStdString();

    for (const auto options : {TSevenZip::ExtractOpts(), TSevenZip::ExtractOpts(TSevenZip::ExtractNoPath)}) {
        messages.clear();
        QDir(Path(QStringLiteral("x"))).removeRecursively();
        zip->Files()->Clear();
        zip->SetExtractOptions(options);
        zip->SetExtrBaseDir(Path(QStringLiteral("x/base")));
        EXPECT_EQ(zip->Extract(), int(sz::E_FAIL));
        // Only the sound item reaches the disk, and nothing leaves the base.
        EXPECT_EQ(Entries(QStringLiteral("x")), QStringList{QStringLiteral("base")});
        EXPECT_EQ(Entries(QStringLiteral("x/base")), QStringList{QStringLiteral("fine.txt")});
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/abs.txt")));
        ASSERT_EQ(messages.size(), 5u);
        for (const Message& message : messages) {
            EXPECT_EQ(message.code, 11);
            EXPECT_EQ(message.text, QStringLiteral("Could not create file"));
        }
    }
    EXPECT_EQ(Entries(QString()), (QStringList{QStringLiteral("hostile.7z"), QStringLiteral("made.7z"),
                                               QStringLiteral("src"), QStringLiteral("x")}));
}

TEST_F(Hostile, LinksOnTheWayAreNotFollowed)
{
    WriteFile(QStringLiteral("src/sub/file.txt"), QByteArray("from archive"));
    WriteFile(QStringLiteral("src/top.txt"), QByteArray("from archive"));
    ASSERT_EQ(RunCli({QStringLiteral("a"), Path(QStringLiteral("a.7z")), Path(QStringLiteral("src/sub")),
                      Path(QStringLiteral("src/top.txt"))})
                  .exitCode,
              0);
    QDir().mkpath(Path(QStringLiteral("victim")));
    WriteFile(QStringLiteral("victim/secret.txt"), QByteArray("secret"));
    QDir().mkpath(Path(QStringLiteral("out")));
    // A planted folder link, and a planted file link at an item's place.
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("victim")), Path(QStringLiteral("out/sub"))));
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("victim/secret.txt")), Path(QStringLiteral("out/top.txt"))));

    zip->SetSZFileName(Path(QStringLiteral("a.7z")));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    zip->SetExtractOptions(TSevenZip::ExtractOverwrite);
    EXPECT_EQ(zip->Extract(), int(sz::E_FAIL));
    // Both the folder item and the file in it are refused.
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].code, 11);
    EXPECT_EQ(messages[0].fileName, Path(QStringLiteral("out/sub")));
    EXPECT_EQ(messages[1].code, 11);
    EXPECT_EQ(messages[1].fileName, Path(QStringLiteral("out/sub/file.txt")));
    EXPECT_EQ(Entries(QStringLiteral("victim")), QStringList{QStringLiteral("secret.txt")});
    EXPECT_EQ(ReadFile(QStringLiteral("victim/secret.txt")), QByteArray("secret"));
    // The link at the item's place was replaced, not written through.
    EXPECT_FALSE(QFileInfo(Path(QStringLiteral("out/top.txt"))).isSymLink());
    EXPECT_EQ(ReadFile(QStringLiteral("out/top.txt")), QByteArray("from archive"));
}

TEST_F(Hostile, LinkItemsBecomePlainFiles)
{
    QDir().mkpath(Path(QStringLiteral("src")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/hostname"), Path(QStringLiteral("src/link"))));
    ASSERT_EQ(RunCli({QStringLiteral("a"), QStringLiteral("-snl"), Path(QStringLiteral("l.7z")),
                      Path(QStringLiteral("src/link"))})
                  .exitCode,
              0);
    zip->SetSZFileName(Path(QStringLiteral("l.7z")));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    ASSERT_EQ(zip->Extract(), 0);
    const QFileInfo extracted(Path(QStringLiteral("out/link")));
    EXPECT_FALSE(extracted.isSymLink());
    EXPECT_TRUE(extracted.isFile());
    EXPECT_EQ(ReadFile(QStringLiteral("out/link")), QByteArray("/etc/hostname"));
    EXPECT_FALSE(extracted.permissions() & QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace safekeep::test
