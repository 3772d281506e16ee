// A whole backup through the window (staging the host's files, packing them
// at MAXIMUM with a password, verifying, cleaning up) against `7z a -mx7 -p`
// on the same staged files, on a sample installation whose year file holds
// 50 MiB of mixed data. The two alternate in every round; the minimum and
// the median of each are compared.
//
// Usage: backup_bench [rounds]   (default 3)
#include "host/sample_installation.h"
#include "safekeep/backupform/frmcopiaseguridad.h"
#include "tests/support/modal_answerer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

// Text-like records, random bytes and runs of equal bytes, as a year file
// of receipts with attachments holds them.
void WriteYearFile(const QString& path, qint64 size)
{
    QRandomGenerator random(2026);
    QByteArray data;
    data.reserve(size + 1024);
    while (data.size() < size) {
        switch (random.bounded(10)) {
        case 0:
        case 1:
            for (int i = 0; i < 256; ++i)
                data.append(static_cast<char>(random.bounded(256)));
            break;
        case 2:
            data.append(QByteArray(512, static_cast<char>(random.bounded(256))));
            break;
        default:
            data.append(QStringLiteral("recibo;%1;propietario %2;cuota %3,%4;pagado\r\n")
                            .arg(random.bounded(100000))
                            .arg(random.bounded(300))
                            .arg(random.bounded(1000))
                            .arg(random.bounded(100), 2, 10, QLatin1Char('0'))
                            .toLatin1());
        }
    }
    data.truncate(size);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        std::abort();
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;

    QTemporaryDir dir;
    const host::THostPaths paths = host::LayOutSampleInstallation(dir.filePath(QStringLiteral("install")));
    WriteYearFile(paths.yearFile, 50 * 1024 * 1024);
    safekeep::SetHostExecutablePath(paths.executable);
    tk::test::ModalAnswerer answerer;
    safekeep::TfrmCopiaSeguridad window(0, nullptr, nullptr, nullptr);
    window.show();
    window.Edit5->SetText(QStringLiteral("bench-password"));
    window.lblDestino->SetCaption(dir.filePath(QStringLiteral("window.7z")));

    // The command packs the files the window stages, from the same folder.
    const QString staged = dir.filePath(QStringLiteral("staged/"));
    QDir().mkpath(staged);
    const QStringList sources{paths.yearFile, paths.reportDatabase, paths.hostIni,
                              paths.binFolder + QStringLiteral("apppos.INI"), paths.binFolder + QStringLiteral("DACT.INI")};
    for (const QString& source : sources)
        QFile::copy(source, staged + QFileInfo(source).fileName());

    std::vector<double> ours, command;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(dir.filePath(QStringLiteral("window.7z")));
        QFile::remove(dir.filePath(QStringLiteral("command.7z")));
        ours.push_back(Seconds([&] { window.JvXPButtonCrearCopiaSeguridadClick(); }));
        command.push_back(Seconds([&] {
            QProcess process;
            process.start(QStringLiteral("7z"), {QStringLiteral("a"), QStringLiteral("-mx7"),
                                                 QStringLiteral("-pbench-password"), dir.filePath(QStringLiteral("command.7z")),
                                                 staged + QStringLiteral("*")});
            process.waitForFinished(-1);
        }));
        std::printf("round %d: window %.2f s, 7z %.2f s\n", round + 1, ours.back(), command.back());
    }
    const double oursMin = *std::min_element(ours.begin(), ours.end());
    const double commandMin = *std::min_element(command.begin(), command.end());
    std::printf("backup of 50 MiB: window min %.2f / median %.2f s, 7z min %.2f / median %.2f s, "
                "ratio min %.3f / median %.3f\n",
                oursMin, Median(ours), commandMin, Median(command), oursMin / commandMin,
                Median(ours) / Median(command));
    std::printf("archive sizes: window %lld, 7z %lld bytes\n",
                static_cast<long long>(QFileInfo(dir.filePath(QStringLiteral("window.7z"))).size()),
                static_cast<long long>(QFileInfo(dir.filePath(QStringLiteral("command.7z"))).size()));
    safekeep::SetHostExecutablePath(QString());
    return 0;
}
