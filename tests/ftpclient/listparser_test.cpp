// Listing lines as real servers write them, parsed into entries.
#include "safekeep/ftpclient/ftpfeatures.h"
#include "safekeep/ftpclient/ftplistparser.h"
#include "tests/support/qt_printers.h"

#include <QDate>
#include <QTime>
#include <gtest/gtest.h>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace safekeep {
namespace {

// Runs a test in a fixed time zone, nine hours east of UTC, and puts the
// process's zone back afterwards.
class InTokyo : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* zone = std::getenv("TZ"))
            saved_ = zone;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override
    {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

using MlsdLines = InTokyo;

TEST_F(MlsdLines, FactsGiveNameSizeKindAndUtcTimeInLocalTime)
{
    const auto file = ParseMlsdLine(
        QStringLiteral("modify=20261208155904;perm=radfwMT;size=20971520;type=file;unique=fe00ga724b5; backup.bin"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->FileName, QStringLiteral("backup.bin"));
    EXPECT_EQ(file->Size, 20971520);
    EXPECT_TRUE(file->IsFile());
    // 15:59:04 UTC is 00:59:04 of the next day nine hours east.
    EXPECT_EQ(file->ModifiedDate.date(), QDate(2026, 12, 9));
    EXPECT_EQ(file->ModifiedDate.time(), QTime(0, 59, 4));

    const auto folder = ParseMlsdLine(QStringLiteral("Type=dir;Sizd=4096;Modify=20260101000000.250; old backups"));
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->IsDirectory());
    EXPECT_EQ(folder->FileName, QStringLiteral("old backups"));
    EXPECT_EQ(folder->Size, 4096);
    EXPECT_EQ(folder->ModifiedDate.time(), QTime(9, 0, 0, 250));
    // A server's own types are neither files nor folders.
    EXPECT_EQ(ParseMlsdLine(QStringLiteral("type=OS.unix=slink:/srv/a.7z; link.7z"))->ItemType, TFtpItemType::Link);
    EXPECT_EQ(ParseMlsdLine(QStringLiteral("type=OS.unix=chr-13/29; tty.7z"))->ItemType, TFtpItemType::Other);
}

TEST_F(MlsdLines, NamesKeepBlanksAndSemicolons)
{
    const auto item = ParseMlsdLine(QStringLiteral("type=file;size=1; name with space; #1.7z"));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->FileName, QStringLiteral("name with space; #1.7z"));
}

TEST_F(MlsdLines, TheListedDirectoryItselfAndNonEntriesAreLeftOut)
{
    EXPECT_FALSE(ParseMlsdLine(QStringLiteral("type=cdir;modify=20261208155904; /home/tester")));
    EXPECT_FALSE(ParseMlsdLine(QStringLiteral("type=pdir;modify=20261208155904; ..")));
    EXPECT_FALSE(ParseMlsdLine(QStringLiteral("no facts here")));
    EXPECT_FALSE(ParseMlsdLine(QStringLiteral("type=file;size=3;")));
    const auto badTime = ParseMlsdLine(QStringLiteral("type=file;modify=2026120815; x"));
    ASSERT_TRUE(badTime);
    EXPECT_FALSE(badTime->ModifiedDate.isValid());
}

TEST(UnixListLines, DayPaddedWithZeroOrBlankTimeOrYear)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    struct Case {
        const char* line;
        const char* name;
        qint64 size;
        QDateTime modified;
    };
    const Case cases[] = {
        {"-rw-r--r--   1 root     root     20971520 Dec 08 15:59 backup.bin", "backup.bin", 20971520,
         QDateTime(QDate(2026, 12, 8), QTime(15, 59))},
        {"-rw-r--r--   1 root     root     20971520 Dec  8 15:59 backup.bin", "backup.bin", 20971520,
         QDateTime(QDate(2026, 12, 8), QTime(15, 59))},
        {"-rw-r--r--    1 1001     1001            7 Jun 03  2025 old.7z", "old.7z", 7,
         QDateTime(QDate(2025, 6, 3), QTime(0, 0))},
        {"-rw-r--r--    1 1001     1001            7 Jun  3  2025 old.7z", "old.7z", 7,
         QDateTime(QDate(2025, 6, 3), QTime(0, 0))},
        // Owner without group, and neither.
        {"-rw-r--r--   1 ftp 5368709120 Nov 30 23:05 five gigabytes.7z", "five gigabytes.7z", 5368709120LL,
         QDateTime(QDate(2026, 11, 30), QTime(23, 5))},
        {"-rw-r--r--   1 12 Nov 30 23:05 tiny", "tiny", 12, QDateTime(QDate(2026, 11, 30), QTime(23, 5))},
        // An owner named like a month does not take the date's place.
        {"-rw-r--r--   1 dec      staff          10 Nov 02 08:00 a.7z", "a.7z", 10,
         QDateTime(QDate(2026, 11, 2), QTime(8, 0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto item = ParseListLine(QString::fromUtf8(c.line), now);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->FileName, QString::fromUtf8(c.name));
        EXPECT_EQ(item->Size, c.size);
        EXPECT_EQ(item->ModifiedDate, c.modified);
        EXPECT_TRUE(item->IsFile());
    }
}

TEST(UnixListLines, DirectoriesLinksAndNonEntries)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    const auto folder = ParseListLine(QStringLiteral("drwxr-xr-x   2 root root 4096 Dec 08 15:59 archive 2026"), now);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->IsDirectory());
    EXPECT_EQ(folder->FileName, QStringLiteral("archive 2026"));

    const auto link = ParseListLine(QStringLiteral("lrwxrwxrwx   1 root root 9 Dec 08 15:59 latest.7z -> b 2.7z"), now);
    ASSERT_TRUE(link);
    EXPECT_EQ(link->FileName, QStringLiteral("latest.7z"));
    EXPECT_EQ(link->ItemType, TFtpItemType::Link);
    EXPECT_EQ(ParseListLine(QStringLiteral("prw-r--r--   1 root root 0 Dec 08 15:59 fifo.7z"), now)->ItemType,
              TFtpItemType::Other);

    EXPECT_FALSE(ParseListLine(QStringLiteral("total 20480"), now));
    EXPECT_FALSE(ParseListLine(QStringLiteral("-rw-r--r--   1 root root 20 Dex 08 15:59 x"), now));
    EXPECT_FALSE(ParseListLine(QStringLiteral("-rw-r--r--   1 root root 20 Dec 08 25:59 x"), now));
    EXPECT_FALSE(ParseListLine(QStringLiteral("-rw-r--r--   1 root root 20 Dec 08 15:59"), now));
}

TEST(UnixListLines, DateWithoutYearTakesTheYearNearestToNow)
{
    // Early January: a December date is last year's.
    const QDateTime newYear(QDate(2027, 1, 2), QTime(1, 0));
    EXPECT_EQ(ParseListLine(QStringLiteral("-rw-r--r-- 1 a b 1 Dec 31 23:30 x"), newYear)->ModifiedDate.date(),
              QDate(2026, 12, 31));
    // Late December: a server ahead of us already shows 1 January.
    const QDateTime yearEnd(QDate(2026, 12, 31), QTime(20, 0));
    EXPECT_EQ(ParseListLine(QStringLiteral("-rw-r--r-- 1 a b 1 Jan 01 05:00 x"), yearEnd)->ModifiedDate.date(),
              QDate(2027, 1, 1));
    // 29 February exists only in a leap year.
    const QDateTime spring(QDate(2029, 3, 1), QTime(12, 0));
    EXPECT_EQ(ParseListLine(QStringLiteral("-rw-r--r-- 1 a b 1 Feb 29 10:00 x"), spring)->ModifiedDate.date(),
              QDate(2028, 2, 29));
}

TEST(DosListLines, FilesFoldersAndClocks)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    const auto file = ParseListLine(QStringLiteral("12-08-26  03:59PM             20971520 backup 1.7z"), now);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->FileName, QStringLiteral("backup 1.7z"));
    EXPECT_EQ(file->Size, 20971520);
    EXPECT_TRUE(file->IsFile());
    EXPECT_EQ(file->ModifiedDate, QDateTime(QDate(2026, 12, 8), QTime(15, 59)));

    const auto folder = ParseListLine(QStringLiteral("01-02-1999  12:05AM       <DIR>          old"), now);
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->IsDirectory());
    EXPECT_EQ(folder->FileName, QStringLiteral("old"));
    EXPECT_EQ(folder->ModifiedDate, QDateTime(QDate(1999, 1, 2), QTime(0, 5)));

    EXPECT_EQ(ParseListLine(QStringLiteral("07-04-98  12:30PM  1 noon"), now)->ModifiedDate,
              QDateTime(QDate(1998, 7, 4), QTime(12, 30)));
    EXPECT_EQ(ParseListLine(QStringLiteral("07-04-26  17:45  1 clock24"), now)->ModifiedDate,
              QDateTime(QDate(2026, 7, 4), QTime(17, 45)));
    EXPECT_FALSE(ParseListLine(QStringLiteral("13-40-26  03:59PM  1 bad date"), now));
    EXPECT_FALSE(ParseListLine(QStringLiteral("12-08-26  13:59PM  1 bad clock"), now));
}

TEST(Listings, BodiesSplitIntoEntriesInServerOrder)
{
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0));
    const QByteArray list = "total 8\r\n"
                            "-rw-r--r--   1 root root 3 Dec 08 15:59 b.7z\r\n"
                            "\r\n"
                            "-rw-r--r--   1 root root 4 Dec 08 16:00 a.7z\r\n";
    const QList<TFtpListItem> items = ParseListing(list, TListingFormat::List, now);
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].FileName, QStringLiteral("b.7z"));
    EXPECT_EQ(items[1].FileName, QStringLiteral("a.7z"));

    const QList<TFtpListItem> names = ParseListing("one.7z\r\ntwo words.7z\n\xc3\xb1.7z\r\n", TListingFormat::NamesOnly, now);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[1].FileName, QStringLiteral("two words.7z"));
    EXPECT_EQ(names[2].FileName, QStringLiteral("\u00f1.7z"));
    EXPECT_EQ(names[2].Size, -1);
    EXPECT_FALSE(names[2].ModifiedDate.isValid());
}

TEST(Features, MlsdIsOfferedOnlyWhenFeatListsIt)
{
    const QByteArray offered = "220 MLST ready, says the banner\r\n230 Login successful.\r\n"
                               "211-Features supported:\r\n EPSV\r\n MLST type*;perm*;size*;modify*;\r\n"
                               " SIZE\r\n211 End FEAT.\r\n";
    EXPECT_TRUE(OffersMlsd(offered));
    const QByteArray notOffered = "220 MLST in the banner\r\n211-Features:\r\n EPSV\r\n MDTM\r\n211 End\r\n"
                                  "200 MLST after the answer\r\n";
    EXPECT_FALSE(OffersMlsd(notOffered));
    EXPECT_FALSE(OffersMlsd("500 FEAT not understood.\r\n"));
}

}  // namespace
}  // namespace safekeep
