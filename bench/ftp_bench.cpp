// The FTP client against the curl command on the same pyftpdlib server:
// put and get of 100 MB, the two alternating within every iteration so
// that both meet the same machine state. The client's time covers Connect, the
// transfer and Disconnect; curl's is its own %{time_total} (connection,
// login and transfer, without starting the process), the stricter
// yardstick. Counters: medians in milliseconds and client/curl.
#include "safekeep/ftpclient/ftpclient.h"
#include "tests/support/ftp_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr qint64 kSize = 100 * 1024 * 1024;

struct TBench {
    std::unique_ptr<tk::test::FtpServer> server;
    QTemporaryDir local;
    QString source;
};
TBench* bench = nullptr;

QString Url(const QString& name)
{
    return QStringLiteral("ftp://127.0.0.1:%1/%2").arg(bench->server->Port()).arg(name);
}

// Runs curl with the given transfer arguments; its own time in seconds.
double CurlSeconds(const QStringList& transfer)
{
    QProcess curl;
    const QString user = QStringLiteral("%1:%2").arg(QLatin1String(tk::test::FtpServer::kUser),
                                                     QLatin1String(tk::test::FtpServer::kPassword));
    curl.start(QStringLiteral("curl"), QStringList{QStringLiteral("-sS"), QStringLiteral("--user"), user,
                                                   QStringLiteral("-w"), QStringLiteral("%{time_total}")}
                                           + transfer);
    if (!curl.waitForFinished(60000) || curl.exitCode() != 0) {
        std::fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
        std::exit(1);
    }
    return curl.readAllStandardOutput().toDouble();
}

double ClientSeconds(const std::function<void(safekeep::TFtpClient&)>& transfer)
{
    QElapsedTimer took;
    took.start();
    safekeep::TFtpClient client;
    client.SetHost(QStringLiteral("127.0.0.1"));
    client.SetPort(bench->server->Port());
    client.SetUsername(QLatin1String(tk::test::FtpServer::kUser));
    client.SetPassword(QLatin1String(tk::test::FtpServer::kPassword));
    client.Connect();
    transfer(client);
    client.Disconnect();
    return took.nsecsElapsed() / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(benchmark::State& state, const std::vector<double>& client, const std::vector<double>& curl)
{
    state.counters["client_ms"] = Median(client) * 1000;
    state.counters["curl_ms"] = Median(curl) * 1000;
    state.counters["client/curl"] = Median(client) / Median(curl);
    state.SetBytesProcessed(state.iterations() * kSize);
}

// One iteration runs both, the order swapped every time so that neither
// always follows the other's writes.
void Alternate(benchmark::State& state, const std::function<double()>& client, const std::function<double()>& curl)
{
    std::vector<double> clientTimes;
    std::vector<double> curlTimes;
    for (auto _ : state) {
        const bool clientFirst = clientTimes.size() % 2 == 0;
        if (!clientFirst)
            curlTimes.push_back(curl());
        clientTimes.push_back(client());
        if (clientFirst)
            curlTimes.push_back(curl());
        state.SetIterationTime(clientTimes.back());
    }
    Report(state, clientTimes, curlTimes);
}

// Every transfer writes a file that does not exist yet, as in the backup
// window's flows (archive names carry their date; the restore's folder is
// emptied before the fetch). Replacing a file costs either side the file
// system's flush of the new data (ext4 starts it when a rename or a
// truncation replaces a file), which would measure the disk.
void Remove(const QString& path)
{
    QFile::remove(path);
}

void BM_Put_ClientAgainstCurl(benchmark::State& state)
{
    Alternate(
        state,
        [] {
            Remove(bench->server->HomeFile(QStringLiteral("client.7z")));
            return ClientSeconds([](safekeep::TFtpClient& c) { c.Put(bench->source, QStringLiteral("client.7z")); });
        },
        [] {
            Remove(bench->server->HomeFile(QStringLiteral("curl.7z")));
            return CurlSeconds({QStringLiteral("-T"), bench->source, Url(QStringLiteral("curl.7z"))});
        });
}
BENCHMARK(BM_Put_ClientAgainstCurl)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Get_ClientAgainstCurl(benchmark::State& state)
{
    const QString target = bench->local.filePath(QStringLiteral("download.7z"));
    Alternate(
        state,
        [&] {
            Remove(target);
            return ClientSeconds([&](safekeep::TFtpClient& c) { c.Get(QStringLiteral("source.7z"), target, true); });
        },
        [&] {
            Remove(target);
            return CurlSeconds({QStringLiteral("-o"), target, Url(QStringLiteral("source.7z"))});
        });
}
BENCHMARK(BM_Get_ClientAgainstCurl)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// One 100 MB file of varied bytes, locally and on the server.
void Prepare(TBench& b)
{
    QByteArray bytes(kSize, Qt::Uninitialized);
    for (qint64 i = 0; i < kSize; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 4093);
    b.source = b.local.filePath(QStringLiteral("source.7z"));
    for (const QString& path : {b.source, b.server->HomeFile(QStringLiteral("source.7z"))}) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != kSize) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TBench b;
    b.server = std::make_unique<tk::test::FtpServer>();
    Prepare(b);
    bench = &b;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
