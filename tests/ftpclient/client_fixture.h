#pragma once
// A client and a real server for each test, with the checks the tests share:
// files on both sides, open control connections (from the server's log),
// and a clock of the application's event handling.

#include "safekeep/ftpclient/ftpclient.h"
#include "tests/support/expect_raises.h"
#include "tests/support/ftp_server.h"
#include "tests/support/temp_folder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace safekeep::test {

// Bytes that differ at every position a few MB apart, so a misplaced or
// missing block shows.
inline QByteArray Pattern(qint64 size, char seed = 'a')
{
    QByteArray bytes(size, Qt::Uninitialized);
    char* data = bytes.data();
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>(seed + (i * 7 + i / 4093) % 26);
    return bytes;
}

// Measures the longest time between two runs of the application's event
// handling, from its creation to Stop: a 2 ms timer fires on every pass
// that is due.
class EventGapMeter {
public:
    EventGapMeter()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longest_ = std::max(longest_, sinceLast_.restart());
            ++ticks_;
        });
        timer_.setInterval(2);
        timer_.start();
        sinceLast_.start();
    }
    // Ends the measure; the time since the last pass counts as a gap too.
    void Stop()
    {
        timer_.stop();
        longest_ = std::max(longest_, sinceLast_.elapsed());
    }
    qint64 LongestGapMs() const { return longest_; }
    int Ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer sinceLast_;
    qint64 longest_ = 0;
    int ticks_ = 0;
};

class FtpClientTest : public ::testing::Test {
protected:
    void StartServer(tk::test::FtpServerOptions options = {})
    {
        options.logCommands = true;
        server = std::make_unique<tk::test::FtpServer>(options);
        client.SetHost(QStringLiteral("127.0.0.1"));
        client.SetPort(server->Port());
        client.SetUsername(QString::fromLatin1(tk::test::FtpServer::kUser));
        client.SetPassword(QString::fromLatin1(tk::test::FtpServer::kPassword));
    }
    void SetUp() override { StartServer(); }

    QString ServerWrite(const QString& name, const QByteArray& bytes)
    {
        QFile file(server->HomeFile(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
    QByteArray ServerRead(const QString& name) const
    {
        QFile file(server->HomeFile(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Control connections the server still holds. Closing is logged a
    // moment after the client closed, so wait for the count to settle.
    int OpenSessions(int expected = 0) const
    {
        int open = -1;
        QElapsedTimer waited;
        waited.start();
        do {
            const QByteArray log = server->LogText();
            open = static_cast<int>(log.count("FTP session opened") - log.count("FTP session closed"));
            if (open != expected)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        } while (open != expected && waited.elapsed() < 2000);
        return open;
    }

    // The message of the EFtpError that body raises (tk::test::kNoException
    // when none).
    static QString FtpErrorOf(const std::function<void()>& body)
    {
        return tk::test::MessageOf<EFtpError>(body);
    }

    std::unique_ptr<tk::test::FtpServer> server;
    TFtpClient client;
    tk::test::TempFolder local;
};

}  // namespace safekeep::test
