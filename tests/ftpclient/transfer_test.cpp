// Put, List and Get against a real server: what arrives, what is listed,
// what comes back, on one control connection, with progress in bytes.
#include "client_fixture.h"

#include "toolkit/core/fileutils.h"

#include <QDir>
#include <utime.h>

namespace safekeep::test {
namespace {

using TransferTest = FtpClientTest;

const TFtpListItem* Find(const QList<TFtpListItem>& items, const QString& name)
{
    for (const TFtpListItem& item : items) {
        if (item.FileName == name)
            return &item;
    }
    return nullptr;
}

TEST_F(TransferTest, PutListGetRoundTripOnOneControlConnection)
{
    const QByteArray content = Pattern(3 * 1024 * 1024 + 17);
    client.Connect();
    ASSERT_TRUE(client.Connected());
    client.Put(local.Write(QStringLiteral("up.7z"), content), QStringLiteral("BKBrivora26_12_07.7z"));
    EXPECT_EQ(ServerRead(QStringLiteral("BKBrivora26_12_07.7z")), content);
    EXPECT_EQ(server->HomeEntries(), QStringList{QStringLiteral("BKBrivora26_12_07.7z")}) << "no temporary left";

    client.List(true);
    const TFtpListItem* listed = Find(client.DirectoryListing(), QStringLiteral("BKBrivora26_12_07.7z"));
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->Size, content.size());
    EXPECT_LT(std::llabs(listed->ModifiedDate.secsTo(QDateTime::currentDateTime())), 120);

    client.Get(QStringLiteral("BKBrivora26_12_07.7z"), local.File(QStringLiteral("down.7z")), true);
    EXPECT_EQ(local.Read(QStringLiteral("down.7z")), content);
    EXPECT_EQ(OpenSessions(1), 1);
    client.Disconnect();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(OpenSessions(), 0);
    EXPECT_EQ(server->LogText().count("<- USER tester"), 1) << "one login for the whole flow";
}

TEST_F(TransferTest, PutAndGetReplaceExistingFilesWhateverTheName)
{
    const QString name = QStringLiteral("my backup #1 100%.7z");
    ServerWrite(name, "old remote content");
    local.Write(QStringLiteral("target"), "old local content");
    client.Connect();
    client.Put(local.Write(QStringLiteral("new"), "new content"), name);
    EXPECT_EQ(ServerRead(name), "new content");
    ServerWrite(name, "newer content");
    client.Get(name, local.File(QStringLiteral("target")), true);
    EXPECT_EQ(local.Read(QStringLiteral("target")), "newer content");
    EXPECT_EQ(QDir(local.Path()).entryList(QDir::Files).size(), 2) << "no temporary left";
}

TEST_F(TransferTest, PassiveOffMakesTheServerConnectBack)
{
    client.SetPassive(false);
    client.Connect();
    client.Put(local.Write(QStringLiteral("a"), Pattern(100000)), QStringLiteral("a.7z"));
    client.Get(QStringLiteral("a.7z"), local.File(QStringLiteral("b")), false);
    EXPECT_EQ(local.Read(QStringLiteral("b")), Pattern(100000));
    EXPECT_TRUE(server->LogText().contains("<- EPRT")) << "active data connections";
}

TEST_F(TransferTest, ProgressReportsBytesFromBeginToEnd)
{
    struct Event {
        char kind;
        TFtpClient::TWorkMode mode;
        qint64 value;
    };
    QList<Event> events;
    client.OnWorkBegin = [&](QObject* sender, TFtpClient::TWorkMode mode, qint64 maximum) {
        EXPECT_EQ(sender, &client);
        events.append({'B', mode, maximum});
    };
    client.OnWork = [&](QObject*, TFtpClient::TWorkMode mode, qint64 count) { events.append({'W', mode, count}); };
    client.OnWorkEnd = [&](QObject*, TFtpClient::TWorkMode mode) { events.append({'E', mode, 0}); };
    const qint64 size = 16 * 1024 * 1024;
    StartServer({.bytesPerSecond = 2 * size});  // half a second per transfer
    client.Connect();
    client.List();
    EXPECT_TRUE(events.isEmpty()) << "a listing reports no byte counts";

    for (const TFtpClient::TWorkMode mode : {TFtpClient::wmWrite, TFtpClient::wmRead}) {
        events.clear();
        if (mode == TFtpClient::wmWrite)
            client.Put(local.Write(QStringLiteral("big"), Pattern(size)), QStringLiteral("big.7z"));
        else
            client.Get(QStringLiteral("big.7z"), local.File(QStringLiteral("back")), false);
        ASSERT_GE(events.size(), 8) << "counts as bytes move";
        EXPECT_EQ(events.first().kind, 'B');
        EXPECT_EQ(events.first().value, size);
        EXPECT_EQ(events.last().kind, 'E');
        EXPECT_EQ(events[events.size() - 2].value, size) << "the last count is the whole file";
        qint64 previous = 0;
        for (qsizetype i = 1; i + 1 < events.size(); ++i) {
            EXPECT_EQ(events[i].kind, 'W');
            EXPECT_GT(events[i].value, previous);
            previous = events[i].value;
        }
        for (const Event& event : events)
            EXPECT_EQ(event.mode, mode);
    }
}

TEST_F(TransferTest, MlsdDatesArriveInLocalTime)
{
    // 2026-03-04 05:06:07 UTC, listed while the process runs nine hours east.
    ServerWrite(QStringLiteral("dated.7z"), "x");
    const utimbuf stamp{1772600767, 1772600767};
    ASSERT_EQ(::utime(QFile::encodeName(server->HomeFile(QStringLiteral("dated.7z"))).constData(), &stamp), 0);
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "JST-9");
    tzset();
    client.Connect();
    client.List();
    const TFtpListItem* item = Find(client.DirectoryListing(), QStringLiteral("dated.7z"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ModifiedDate.toSecsSinceEpoch(), 1772600767);
    EXPECT_EQ(item->ModifiedDate.time(), QTime(14, 6, 7));
    savedZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedZone);
    tzset();
    EXPECT_TRUE(server->LogText().contains("<- MLSD"));
}

TEST_F(TransferTest, ServersWithoutMlsdAreListedByListInBothForms)
{
    for (const bool dos : {false, true}) {
        SCOPED_TRACE(dos ? "DOS" : "Unix");
        StartServer({.noMlsd = true, .dosList = dos});
        ServerWrite(QStringLiteral("name with  blanks.7z"), Pattern(1234));
        ASSERT_TRUE(QDir(server->Home()).mkdir(QStringLiteral("folder")));
        client.Connect();
        client.List(true);
        const QList<TFtpListItem>& items = client.DirectoryListing();
        ASSERT_EQ(items.size(), 2);
        const TFtpListItem* file = Find(items, QStringLiteral("name with  blanks.7z"));
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->Size, 1234);
        EXPECT_FALSE(file->IsDirectory());
        // The server writes UTC; LIST times are taken as written.
        const QDateTime utcNow = QDateTime::currentDateTimeUtc();
        const QDateTime asWritten(utcNow.date(), utcNow.time());
        EXPECT_LT(std::llabs(file->ModifiedDate.secsTo(asWritten)), 120);
        EXPECT_TRUE(Find(items, QStringLiteral("folder"))->IsDirectory());
        EXPECT_FALSE(server->LogText().contains("<- MLSD")) << "FEAT said no MLSD";
        client.Disconnect();
    }
}

TEST_F(TransferTest, NamesOnlyListingAndAnEmptyFolder)
{
    client.Connect();
    client.List(true);
    EXPECT_TRUE(client.DirectoryListing().isEmpty());
    ServerWrite(QStringLiteral("a.7z"), "a");
    ServerWrite(QStringLiteral("BACKUP.7Z"), "b");
    client.List(false);
    QStringList names;
    for (const TFtpListItem& item : client.DirectoryListing())
        names << item.FileName;
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("BACKUP.7Z"), QStringLiteral("a.7z")}));
}

TEST_F(TransferTest, RefusedRequestsLoseNothing)
{
    const QString target = local.Write(QStringLiteral("keep"), "precious");
    ServerWrite(QStringLiteral("victim.7z"), "victim");
    EXPECT_EQ(FtpErrorOf([&] { client.List(); }), QStringLiteral("Not connected"));
    client.Connect();

    EXPECT_TRUE(FtpErrorOf([&] { client.Get(QStringLiteral("victim.7z"), target, false); }).contains("already exists"));
    EXPECT_FALSE(server->LogText().contains("RETR")) << "refused before any transfer";
    for (const QString& bad : {QString(), QStringLiteral(".."), QStringLiteral("sub/x.7z"),
                               QStringLiteral("x.7z\r\nDELE victim.7z")}) {
        EXPECT_TRUE(FtpErrorOf([&] { client.Put(target, bad); }).startsWith("Invalid remote file name")) << bad.toStdString();
        EXPECT_TRUE(FtpErrorOf([&] { client.Get(bad, local.File(QStringLiteral("y")), true); }).startsWith("Invalid"));
    }
    EXPECT_EQ(ServerRead(QStringLiteral("victim.7z")), "victim");
    EXPECT_TRUE(FtpErrorOf([&] { client.Put(local.File(QStringLiteral("missing")), QStringLiteral("m.7z")); })
                    .contains("No such file or directory"));
    EXPECT_TRUE(client.Connected()) << "local refusals keep the connection";

    const QString missing = FtpErrorOf([&] { client.Get(QStringLiteral("absent.7z"), target, true); });
    EXPECT_TRUE(missing.contains("not found") || missing.contains("550")) << missing.toStdString();
    EXPECT_EQ(local.Read(QStringLiteral("keep")), "precious");
    EXPECT_EQ(QDir(local.Path()).entryList(QDir::Files), QStringList{QStringLiteral("keep")});
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(OpenSessions(), 0) << "a failed call closes its connection";
}

}  // namespace
}  // namespace safekeep::test
