// Logging in and out: the errors a user sees for a wrong password, a
// refused port or a silent server, and no connection left behind.
#include "client_fixture.h"

namespace safekeep::test {
namespace {

using SessionTest = FtpClientTest;

TEST_F(SessionTest, WrongPasswordFailsWithTheServersAnswerAndLeavesNothingOpen)
{
    client.SetPassword(QStringLiteral("wrong"));
    const QString message = FtpErrorOf([&] { client.Connect(); });
    EXPECT_TRUE(message.contains("Login denied") && message.contains("530")) << message.toStdString();
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(OpenSessions(), 0);

    client.SetPassword(QString::fromLatin1(tk::test::FtpServer::kPassword));
    client.Connect();
    EXPECT_TRUE(client.Connected());
}

TEST_F(SessionTest, RefusedPortAndMissingHostFailClearly)
{
    client.SetPort(tk::test::FtpServer::UnusedPort());
    const QString refused = FtpErrorOf([&] { client.Connect(); });
    EXPECT_TRUE(refused.contains("Failed to connect to 127.0.0.1 port")) << refused.toStdString();
    EXPECT_FALSE(client.Connected());

    client.SetHost(QStringLiteral("  "));
    EXPECT_EQ(FtpErrorOf([&] { client.Connect(); }), QStringLiteral("No host to connect to"));
}

TEST_F(SessionTest, SilentServerTimesOutWhileTheApplicationKeepsRunning)
{
    client.SetConnectTimeout(700);
    client.SetReadTimeout(1000);
    // Each step freezes the server, runs a call, and wakes the server again.
    const auto silent = [&](const char* step, const std::function<void()>& call) {
        SCOPED_TRACE(step);
        server->Pause();
        EventGapMeter meter;
        QElapsedTimer took;
        took.start();
        const QString message = FtpErrorOf(call);
        meter.Stop();
        server->Resume();
        EXPECT_LT(took.elapsed(), 4000);
        EXPECT_LT(meter.LongestGapMs(), 100);
        EXPECT_GE(meter.Ticks(), took.elapsed() / 50);
        EXPECT_FALSE(client.Connected());
        return message;
    };
    // The kernel still accepts the connection, but no greeting comes.
    EXPECT_TRUE(silent("connect", [&] { client.Connect(); }).contains("timed out"));
    client.Connect();
    EXPECT_TRUE(silent("list", [&] { client.List(); }).contains("timeout", Qt::CaseInsensitive));
    client.Connect();
    // QUIT goes unanswered; closing gives up after the read timeout.
    EXPECT_EQ(silent("disconnect", [&] { client.Disconnect(); }), tk::test::kNoException);
}

TEST_F(SessionTest, ReconnectingAndDestroyingCloseTheEarlierConnection)
{
    client.Disconnect();  // harmless when not connected
    client.Connect();
    client.Connect();
    EXPECT_EQ(OpenSessions(1), 1);
    {
        TFtpClient second;
        second.SetHost(client.Host());
        second.SetPort(client.Port());
        second.SetUsername(client.Username());
        second.SetPassword(client.Password());
        second.Connect();
        EXPECT_EQ(OpenSessions(2), 2);
    }
    EXPECT_EQ(OpenSessions(1), 1) << "the destroyed client said goodbye";
    EXPECT_TRUE(server->LogText().contains("<- QUIT"));
}

}  // namespace
}  // namespace safekeep::test
