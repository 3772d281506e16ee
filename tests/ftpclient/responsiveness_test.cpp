// The application keeps handling its events (timers, input) during a
// 100 MB upload and download, also while the server stalls in the middle
// and after the last byte, when the client waits for the final reply.
#include "client_fixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace safekeep::test {
namespace {

using ResponsivenessTest = FtpClientTest;

TEST_F(ResponsivenessTest, EventsKeepFlowingThroughA100MbTransferWithAStalledServer)
{
    constexpr qint64 kSize = 100 * 1024 * 1024;
    constexpr int kStallMs = 300;
    const QByteArray content = Pattern(kSize);
    const QString upload = local.Write(QStringLiteral("big"), content);
    client.Connect();

    QLineEdit box;
    bool typedDuringTransfer = false;
    QObject::connect(&box, &QLineEdit::textChanged, [&] { typedDuringTransfer = client.Busy(); });

    for (const TFtpClient::TWorkMode mode : {TFtpClient::wmWrite, TFtpClient::wmRead}) {
        const char* what = mode == TFtpClient::wmWrite ? "put" : "get";
        SCOPED_TRACE(what);
        box.clear();
        typedDuringTransfer = false;
        // The server freezes a third of the way and again near the end (the
        // last megabyte fits in the socket buffers, so the client then waits
        // for the final reply); a key is pressed in the box meanwhile. A
        // thread wakes the server: the application's own timers would not
        // run if the client froze it.
        std::vector<std::thread> wakers;
        client.OnWork = [&, stalls = 0](QObject*, TFtpClient::TWorkMode, qint64 count) mutable {
            const qint64 thresholds[] = {kSize / 3, kSize - 1024 * 1024};
            if (stalls == 2 || count < thresholds[stalls])
                return;
            ++stalls;
            server->Pause();
            QCoreApplication::postEvent(&box, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a")));
            wakers.emplace_back([this, kStallMs] {
                std::this_thread::sleep_for(std::chrono::milliseconds(kStallMs));
                server->Resume();
            });
        };
        EventGapMeter meter;
        QElapsedTimer took;
        took.start();
        if (mode == TFtpClient::wmWrite)
            client.Put(upload, QStringLiteral("big.7z"));
        else
            client.Get(QStringLiteral("big.7z"), local.File(QStringLiteral("back")), true);
        meter.Stop();
        const qint64 elapsed = took.elapsed();
        for (std::thread& waker : wakers)
            waker.join();
        std::printf("[ measure  ] %s of 100 MB with %zu stalls of %d ms: %lld ms, longest event gap %lld ms\n", what,
                    wakers.size(), kStallMs, static_cast<long long>(elapsed),
                    static_cast<long long>(meter.LongestGapMs()));
        EXPECT_GE(wakers.size(), 1u) << "the server stalled";
        EXPECT_LT(meter.LongestGapMs(), 100);
        EXPECT_GE(meter.Ticks(), elapsed / 50) << "events ran all along, not only at the end";
        EXPECT_TRUE(typedDuringTransfer);
    }
    EXPECT_TRUE(local.Read(QStringLiteral("back")) == content);
}

}  // namespace
}  // namespace safekeep::test
