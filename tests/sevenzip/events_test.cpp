// Events: fired on the calling thread, one at a time, with sizes and
// positions that add up; the application keeps running meanwhile; a handler
// can cancel, and a handler that raises stops the operation without leaving
// anything behind.
#include "safekeep/sevenzip/abi.h"
#include "tests/sevenzip/sevenzip_fixture.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"

#include <QThread>
#include <QTimer>
#include <chrono>
#include <thread>

namespace safekeep::test {
namespace {

// Counts the events of one operation and checks the thread and the
// one-at-a-time delivery of each.
struct EventLog {
    QThread* expectedThread = QThread::currentThread();
    bool inHandler = false;
    int preProgress = 0;
    qint64 maxProgress = -1;
    QStringList files;
    QList<qint64> sizes;
    int progress = 0;
    qint64 lastArchivePosition = 0;
    bool positionsGrow = true;
    int wrongThread = 0;
    int overlapping = 0;

    // Runs body as a handler would.
    template <typename Body> void Handle(Body body)
    {
        if (QThread::currentThread() != expectedThread)
            ++wrongThread;
        if (inHandler)
            ++overlapping;
        inHandler = true;
        // A slow handler widens the window for a second delivery.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        body();
        inHandler = false;
    }

    void Attach(TSevenZip& zip)
    {
        zip.OnPreProgress = [this](QObject*, qint64 total) {
            Handle([&] {
                ++preProgress;
                maxProgress = total;
            });
        };
        auto fileStarted = [this](QObject*, const QString& name, qint64 size) {
            Handle([&] {
                files << name;
                sizes << size;
            });
        };
        zip.OnAddfile = fileStarted;
        zip.OnExtractfile = fileStarted;
        zip.OnProgress = [this](QObject*, const QString&, qint64 archivePosition, qint64) {
            Handle([&] {
                ++progress;
                positionsGrow = positionsGrow && archivePosition >= lastArchivePosition;
                lastArchivePosition = archivePosition;
            });
        };
    }
};

using Events = SevenZipTest;

TEST_F(Events, FireOnTheCallingThreadOneAtATimeWhileTheApplicationRuns)
{
    const QByteArray first = TextData(3000000, 11);
    const QByteArray second = RandomData(1500000, 12);
    WriteFile(QStringLiteral("in/first.txt"), first);
    WriteFile(QStringLiteral("in/second.bin"), second);
    zip->SetSZFileName(Path(QStringLiteral("e.7z")));
    zip->SetAddRootDir(Path(QStringLiteral("in")));
    zip->SetLZMACompressStrength(TSevenZip::MAXIMUM);
    zip->Files()->SetStrings({Path(QStringLiteral("in/first.txt")), Path(QStringLiteral("in/second.bin"))});

    // A timer of the application keeps firing while the library works.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    int nestedResult = 0;
    EventLog adding;
    adding.Attach(*zip);
    auto progress = zip->OnProgress;
    zip->OnProgress = [&](QObject* sender, const QString& name, qint64 archivePosition, qint64 filePosition) {
        progress(sender, name, archivePosition, filePosition);
        // The component runs one operation at a time.
        if (nestedResult == 0)
            nestedResult = zip->Extract();
    };
    ASSERT_EQ(zip->Add(), 0);
    timer.stop();
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(nestedResult, -1);
    EXPECT_EQ(adding.wrongThread, 0);
    EXPECT_EQ(adding.overlapping, 0);
    EXPECT_EQ(adding.preProgress, 1);
    EXPECT_EQ(adding.maxProgress, first.size() + second.size());
    EXPECT_EQ(adding.files,
              (QStringList{Path(QStringLiteral("in/first.txt")), Path(QStringLiteral("in/second.bin"))}));
    EXPECT_EQ(adding.sizes, (QList<qint64>{first.size(), second.size()}));
    EXPECT_GT(adding.progress, 1);
    EXPECT_TRUE(adding.positionsGrow);
    EXPECT_EQ(adding.lastArchivePosition, first.size() + second.size());

    EventLog extracting;
    extracting.Attach(*zip);
    zip->Files()->Clear();
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    ASSERT_EQ(zip->Extract(), 0);
    EXPECT_EQ(extracting.wrongThread, 0);
    EXPECT_EQ(extracting.overlapping, 0);
    EXPECT_EQ(extracting.preProgress, 1);
    EXPECT_EQ(extracting.maxProgress, first.size() + second.size());
    EXPECT_EQ(extracting.files.size(), 2);
    EXPECT_TRUE(extracting.files.contains(Path(QStringLiteral("out/first.txt"))));
    EXPECT_GT(extracting.progress, 1);
    EXPECT_TRUE(extracting.positionsGrow);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Events, CancelFromProgressStopsAddAndKeepsTheOldArchive)
{
    WriteFile(QStringLiteral("big.txt"), TextData(6000000, 13));
    const QString archive = WriteFile(QStringLiteral("backup.7z"), QByteArray("yesterday's backup"));
    zip->SetSZFileName(archive);
    zip->SetLZMACompressStrength(TSevenZip::MAXIMUM);
    zip->Files()->AddString(Path(QStringLiteral("big.txt")));
    int reports = 0;
    zip->OnProgress = [&](QObject*, const QString&, qint64, qint64) {
        if (++reports == 2)
            zip->Cancel();
    };
    EXPECT_EQ(zip->Add(), int(sz::E_ABORT));
    EXPECT_EQ(reports, 2);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 6);
    EXPECT_EQ(messages[0].text, QStringLiteral("User canceled operation"));
    EXPECT_EQ(messages[0].fileName, Path(QStringLiteral("big.txt")));
    EXPECT_EQ(ReadFile(QStringLiteral("backup.7z")), QByteArray("yesterday's backup"));
    EXPECT_EQ(Entries(QString()), (QStringList{QStringLiteral("backup.7z"), QStringLiteral("big.txt")}));
    EXPECT_TRUE(zip->NamesOfVolumesWritten().isEmpty());

    // The flag is cleared: the next Add runs to the end.
    zip->OnProgress = nullptr;
    EXPECT_EQ(zip->Add(), 0);
}

TEST_F(Events, CancelFromProgressStopsExtractWithoutPartialFiles)
{
    WriteFile(QStringLiteral("big.txt"), TextData(12000000, 14));
    ASSERT_EQ(RunCli({QStringLiteral("a"), QStringLiteral("-mx1"), Path(QStringLiteral("a.7z")),
                      Path(QStringLiteral("big.txt"))})
                  .exitCode,
              0);
    zip->SetSZFileName(Path(QStringLiteral("a.7z")));
    zip->SetExtrBaseDir(Path(QStringLiteral("out")));
    // The library decodes ahead: the first reports come before the file.
    zip->OnProgress = [&](QObject*, const QString& fileName, qint64, qint64) {
        if (!fileName.isEmpty())
            zip->Cancel();
    };
    EXPECT_EQ(zip->Extract(), int(sz::E_ABORT));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].code, 6);
    EXPECT_EQ(messages[0].fileName, Path(QStringLiteral("out/big.txt")));
    EXPECT_TRUE(Entries(QStringLiteral("out")).isEmpty());
}

TEST_F(Events, AHandlerThatRaisesStopsTheOperation)
{
    WriteFile(QStringLiteral("a.txt"), TextData(100000, 15));
    zip->SetSZFileName(Path(QStringLiteral("a.7z")));
    zip->Files()->AddString(Path(QStringLiteral("a.txt")));
    QStringList shown;
    auto previous = tk::Application().OnException;
    tk::Application().OnException = [&](const QString& message) { shown << message; };
    zip->OnAddfile = [](QObject*, const QString&, qint64) {
        throw tk::Exception(QStringLiteral("handler failed"));
    };
    const int result = zip->Add();
    tk::Application().OnException = previous;
    EXPECT_NE(result, 0);
    EXPECT_EQ(shown, QStringList{QStringLiteral("handler failed")});
    EXPECT_EQ(Entries(QString()), QStringList{QStringLiteral("a.txt")});
}

}  // namespace
}  // namespace safekeep::test
