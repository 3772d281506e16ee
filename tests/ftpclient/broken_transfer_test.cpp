// Transfers that break halfway (server stopped, handler raising, a
// Disconnect meanwhile) leave no partial file under a real name on either
// side, keep the old files, and close the connection.
#include "client_fixture.h"

#include "toolkit/core/exceptions.h"

#include <QDir>

namespace safekeep::test {
namespace {

// Slowed to half a second per transfer so that every test meets its
// transfer halfway, whatever the machine's speed.
constexpr qint64 kSize = 4 * 1024 * 1024;

class BrokenTransferTest : public FtpClientTest {
protected:
    void SetUp() override { StartServer({.bytesPerSecond = 2 * kSize}); }
    // Calls action once, as soon as count bytes moved.
    void OnceBytesMoved(qint64 count, std::function<void()> action)
    {
        client.OnWork = [count, action, done = false](QObject*, TFtpClient::TWorkMode, qint64 moved) mutable {
            if (!done && moved >= count) {
                done = true;
                action();
            }
        };
    }
    QStringList LocalFiles() const { return QDir(local.Path()).entryList(QDir::Files); }
};

TEST_F(BrokenTransferTest, ServerStoppedMidUploadKeepsTheOldRemoteFile)
{
    ServerWrite(QStringLiteral("b.7z"), "old archive");
    const QString upload = local.Write(QStringLiteral("b.7z"), Pattern(kSize));
    bool ended = false;
    client.OnWorkEnd = [&](QObject*, TFtpClient::TWorkMode) { ended = true; };
    OnceBytesMoved(kSize / 4, [&] { server->Stop(); });
    client.Connect();
    EXPECT_NE(FtpErrorOf([&] { client.Put(upload, QStringLiteral("b.7z")); }), tk::test::kNoException);
    EXPECT_EQ(ServerRead(QStringLiteral("b.7z")), "old archive");
    EXPECT_EQ(local.Read(QStringLiteral("b.7z")), Pattern(kSize));
    EXPECT_TRUE(ended);
    EXPECT_FALSE(client.Connected());
}

TEST_F(BrokenTransferTest, ServerStoppedMidDownloadKeepsTheOldLocalFile)
{
    ServerWrite(QStringLiteral("b.7z"), Pattern(kSize));
    const QString target = local.Write(QStringLiteral("CopSegBK.7z"), "old staged archive");
    OnceBytesMoved(kSize / 4, [&] { server->Stop(); });
    client.Connect();
    EXPECT_NE(FtpErrorOf([&] { client.Get(QStringLiteral("b.7z"), target, true); }), tk::test::kNoException);
    EXPECT_EQ(local.Read(QStringLiteral("CopSegBK.7z")), "old staged archive");
    EXPECT_EQ(LocalFiles(), QStringList{QStringLiteral("CopSegBK.7z")}) << "no temporary left";
    EXPECT_FALSE(client.Connected());
}

TEST_F(BrokenTransferTest, HandlerRaisingCancelsTheUploadAndItsTemporary)
{
    const QString upload = local.Write(QStringLiteral("c"), Pattern(kSize));
    OnceBytesMoved(kSize / 4, [] { tk::Abort(); });
    client.Connect();
    EXPECT_THROW(client.Put(upload, QStringLiteral("c.7z")), tk::EAbort);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(OpenSessions(), 0);
    EXPECT_EQ(server->HomeEntries(), QStringList()) << "neither the real name nor the temporary";

    client.OnWork = nullptr;  // the server is still fine for the next try
    client.Connect();
    client.Put(local.Write(QStringLiteral("small"), "small"), QStringLiteral("c.7z"));
    EXPECT_EQ(server->HomeEntries(), QStringList{QStringLiteral("c.7z")});
}

TEST_F(BrokenTransferTest, DisconnectDuringADownloadCancelsIt)
{
    ServerWrite(QStringLiteral("d.7z"), Pattern(kSize));
    OnceBytesMoved(kSize / 4, [&] { client.Disconnect(); });
    client.Connect();
    const QString message = FtpErrorOf([&] { client.Get(QStringLiteral("d.7z"), local.File(QStringLiteral("d")), true); });
    EXPECT_EQ(message, QStringLiteral("The transfer was cancelled"));
    EXPECT_EQ(LocalFiles(), QStringList());
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(OpenSessions(), 0);
}

TEST_F(BrokenTransferTest, ACallWhileATransferRunsIsRefused)
{
    const QString upload = local.Write(QStringLiteral("e"), Pattern(kSize));
    QString nested;
    OnceBytesMoved(1, [&] {
        nested = FtpErrorOf([&] { client.List(); });
        EXPECT_TRUE(client.Busy());
    });
    client.Connect();
    client.Put(upload, QStringLiteral("e.7z"));
    EXPECT_EQ(nested, QStringLiteral("The FTP client is busy with another call"));
    EXPECT_EQ(ServerRead(QStringLiteral("e.7z")), Pattern(kSize)) << "the running transfer went on";
    EXPECT_FALSE(client.Busy());
}

}  // namespace
}  // namespace safekeep::test
