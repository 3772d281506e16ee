// The archive component against the 7z command line on the same 50 MiB of
// mixed data and the same settings: Add at MAXIMUM with a password against
// `7z a -mx7 -p...`, and Extract against `7z x`. The two tools alternate in
// every round, so both see the same load on a shared machine; the minimum
// and the median of each are compared.
//
// Usage: sevenzip_bench [add rounds] [extract rounds]   (default 3 and 5)
#include "safekeep/sevenzip/sevenzip.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qint64 kMiB = 1024 * 1024;
const QString kPassword = QStringLiteral("bench-password");

// 50 MiB in four files: word text (50 %), CSV-like records (25 %), random
// bytes (15 %) and runs of equal bytes (10 %).
QStringList WriteInput(const QString& folder)
{
    QRandomGenerator random(2026);
    static const char* const words[] = {"copia", "seguridad",   "comunidad", "recibo",
                                        "cuota", "propietario", "informe",   "ejercicio",
                                        "banco", "importe",     "fecha",     "vivienda"};
    auto write = [&](const QString& name, qint64 size, const std::function<void(QByteArray&)>& piece) {
        QByteArray data;
        data.reserve(size + 256);
        while (data.size() < size)
            piece(data);
        data.truncate(size);
        const QString path = folder + QLatin1Char('/') + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    };
    QStringList files;
    files << write(QStringLiteral("text.txt"), 25 * kMiB, [&](QByteArray& data) {
        data += words[random.bounded(int(std::size(words)))];
        data += random.bounded(10) == 0 ? "\r\n" : " ";
    });
    files << write(QStringLiteral("records.csv"), 25 * kMiB / 2, [&](QByteArray& data) {
        data += QByteArray::number(random.bounded(100000)) + ';' +
                words[random.bounded(int(std::size(words)))] + ';' +
                QByteArray::number(random.bounded(1000000) / 100.0, 'f', 2) + ";2026-" +
                QByteArray::number(1 + random.bounded(12)) + "\r\n";
    });
    files << write(QStringLiteral("random.bin"), 15 * kMiB / 2, [&](QByteArray& data) {
        const quint32 value = random.generate();
        data.append(reinterpret_cast<const char*>(&value), sizeof(value));
    });
    files << write(QStringLiteral("runs.bin"), 5 * kMiB, [&](QByteArray& data) {
        data += QByteArray(1 + random.bounded(4096), char(random.bounded(256)));
    });
    return files;
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void RunCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("7z"), arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        qFatal("7z %s failed:\n%s", qPrintable(arguments.join(QLatin1Char(' '))),
               process.readAll().constData());
}

struct Stats {
    double min;
    double median;
};

Stats Summarize(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {times.front(), median};
}

void Report(const char* title, const std::vector<double>& ours, const std::vector<double>& theirs)
{
    const Stats a = Summarize(ours);
    const Stats b = Summarize(theirs);
    std::printf("%-8s runs %zu   component min %7.2f s median %7.2f s   7z min %7.2f s median %7.2f s   "
                "ratio min %.3f median %.3f\n",
                title, ours.size(), a.min, a.median, b.min, b.median, a.min / b.min, a.median / b.median);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int addRounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int extractRounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir work;
    const QString root = work.path();
    QDir(root).mkpath(QStringLiteral("in"));
    const QStringList files = WriteInput(root + QStringLiteral("/in"));

    safekeep::TSevenZip zip;
    zip.SetPassword(kPassword);
    zip.SetLZMACompressStrength(safekeep::TSevenZip::MAXIMUM);
    // The command line writes solid archives by default.
    zip.SetAddOptions(safekeep::TSevenZip::AddStoreOnlyFilename | safekeep::TSevenZip::AddSolid);
    zip.Files()->SetStrings(files);
    zip.OnMessage = [](QObject*, int code, const QString& text, const QString& file) {
        qFatal("message %d %s %s", code, qPrintable(text), qPrintable(file));
    };
    const QString ours = root + QStringLiteral("/ours.7z");
    const QString theirs = root + QStringLiteral("/theirs.7z");
    std::printf("library %s, input %lld bytes in %lld files\n", qPrintable(zip.LibraryFileName()), 50 * kMiB,
                qint64(files.size()));

    std::vector<double> addOurs, addTheirs;
    for (int round = 0; round < addRounds; ++round) {
        QFile::remove(ours);
        addOurs.push_back(Seconds([&] {
            zip.SetSZFileName(ours);
            if (zip.Add() != 0)
                qFatal("Add failed");
        }));
        // `7z a` adds to an existing archive: start from none.
        QFile::remove(theirs);
        addTheirs.push_back(Seconds([&] {
            RunCli(QStringList{QStringLiteral("a"), QStringLiteral("-mx7"), QStringLiteral("-p") + kPassword,
                               theirs} +
                   files);
        }));
        std::printf("add round %d: component %.2f s, 7z %.2f s\n", round + 1, addOurs.back(),
                    addTheirs.back());
        std::fflush(stdout);
    }
    std::printf("archive sizes: component %lld bytes, 7z %lld bytes\n", QFileInfo(ours).size(),
                QFileInfo(theirs).size());

    std::vector<double> extractOurs, extractTheirs;
    zip.Files()->Clear();
    zip.SetSZFileName(theirs);
    for (int round = 0; round < extractRounds; ++round) {
        const QString ourFolder = root + QStringLiteral("/x-ours-%1").arg(round);
        const QString theirFolder = root + QStringLiteral("/x-theirs-%1").arg(round);
        extractOurs.push_back(Seconds([&] {
            zip.SetExtrBaseDir(ourFolder);
            if (zip.Extract() != 0)
                qFatal("Extract failed");
        }));
        extractTheirs.push_back(Seconds([&] {
            RunCli({QStringLiteral("x"), QStringLiteral("-p") + kPassword, QStringLiteral("-y"),
                    QStringLiteral("-o") + theirFolder, theirs});
        }));
        std::printf("extract round %d: component %.2f s, 7z %.2f s\n", round + 1, extractOurs.back(),
                    extractTheirs.back());
        std::fflush(stdout);
        QDir(ourFolder).removeRecursively();
        QDir(theirFolder).removeRecursively();
    }
    Report("Add", addOurs, addTheirs);
    Report("Extract", extractOurs, extractTheirs);
    return 0;
}
