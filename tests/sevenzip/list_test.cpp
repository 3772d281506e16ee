// List reads every item's name, sizes, attributes, checksum, method and
// time as the command line shows them.
#include "tests/sevenzip/sevenzip_fixture.h"
#include "toolkit/core/datetime.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace safekeep::test {
namespace {

struct Listed {
    QString name;
    qint64 index, size, packed, attributes, crc;
    QString method;
    tk::TDateTime time;
};

using ListTest = SevenZipTest;

TEST_F(ListTest, ItemsMatchTheCommandLineListing)
{
    WriteFile(QStringLiteral("src/d/a.txt"), TextData(40000, 21));
    WriteFile(QStringLiteral("src/d/b.txt"), TextData(30000, 22));
    WriteFile(QStringLiteral("src/d/e/empty"), QByteArray());
    ASSERT_EQ(
        RunCli({QStringLiteral("a"), Path(QStringLiteral("l.7z")), Path(QStringLiteral("src/d"))}).exitCode,
        0);
    std::vector<Listed> listed;
    zip->OnListfile = [&](QObject*, const QString& name, qint64 index, qint64 size, qint64 packed,
                          qint64 attributes, qint64 crc, const QString& method, tk::TDateTime time) {
        listed.push_back({name, index, size, packed, attributes, crc, method, time});
    };
    zip->Files()->AddString(QStringLiteral("left over"));
    zip->SetSZFileName(Path(QStringLiteral("l.7z")));
    ASSERT_EQ(zip->List(), 5);
    EXPECT_EQ(zip->NumberOfFiles(), 5);

    const auto cli = CliItems(Path(QStringLiteral("l.7z")));
    ASSERT_EQ(cli.size(), 5u);
    ASSERT_EQ(listed.size(), 5u);
    for (size_t index = 0; index < cli.size(); ++index) {
        const auto& theirs = cli[index];
        const Listed& ours = listed[index];
        const QString path = theirs.value(QStringLiteral("Path"));
        SCOPED_TRACE(path.toStdString());
        const bool folder = theirs.value(QStringLiteral("Attributes")).startsWith(QLatin1Char('D'));
        EXPECT_EQ(zip->Files()->WStrings(int(index)), folder ? path + QLatin1Char('/') : path);
        EXPECT_EQ(ours.name, path);
        EXPECT_EQ(ours.index, qint64(index));
        EXPECT_EQ(ours.size, theirs.value(QStringLiteral("Size")).toLongLong());
        EXPECT_EQ(ours.packed, theirs.value(QStringLiteral("Packed Size")).toLongLong());
        EXPECT_EQ(ours.crc, theirs.value(QStringLiteral("CRC")).toLongLong(nullptr, 16));
        // Folders and empty files have no method; later items of a solid
        // block share the block's.
        const bool stored = folder || ours.size == 0;
        EXPECT_EQ(ours.method, stored ? QStringLiteral("None") : theirs.value(QStringLiteral("Method")));
        // The command line stores the Unix mode above the Windows bits.
        struct stat info {};
        ASSERT_EQ(::stat(Path(QStringLiteral("src/") + path).toLocal8Bit().constData(), &info), 0);
        EXPECT_EQ(ours.attributes >> 16, qint64(info.st_mode));
        EXPECT_EQ(ours.attributes & 0xFFFF, folder ? 0x8010 : 0x8020);
        const tk::TDateTime modified =
            tk::DateTimeFromQDateTime(QFileInfo(Path(QStringLiteral("src/") + path)).lastModified());
        EXPECT_NEAR(ours.time, modified, 1.0 / 86400000);
    }
}

}  // namespace
}  // namespace safekeep::test
