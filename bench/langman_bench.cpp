// The language manager at the sizes a large program reaches: a language of
// 50,000 entries over 20 files, and translating a window of 500 controls;
// and on hostile files: 50,000 one-entry sections, a user file of many
// message pairs, and message patterns made to make matching slow.
#include "safekeep/langman/langtext.h"
#include "safekeep/langman/languagemanager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <functional>

namespace {

constexpr int kFiles = 20;
constexpr int kEntriesPerFile = 2500;  // 50,000 in all
constexpr int kControls = 500;

class TBenchLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(QString Hint MEMBER hint)
public:
    using QWidget::QWidget;
    QString caption, hint;
};

class TfrmBench : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    TfrmBench()
    {
        for (int i = 0; i < kControls; ++i)
            (new TBenchLabel(this))->setObjectName(QStringLiteral("lbl%1").arg(i));
    }
    QString caption;
};

// Writes the language files: each has constants, messages and property
// sections of other windows; the first file also translates TfrmBench.
QString WriteLanguage(const QTemporaryDir& dir)
{
    const QString folder = dir.filePath(QStringLiteral("Langs"));
    QDir().mkpath(folder);
    for (int f = 0; f < kFiles; ++f) {
        QByteArray text = "[Meridian Language File]\r\nLanguageName=Bench\r\n[Constants]\r\n";
        int entries = 0;
        for (int i = 0; i < 500; ++i, ++entries)
            text += QStringLiteral("Const%1_%2=Texto %2 del fichero %1\\n\r\n").arg(f).arg(i).toUtf8();
        text += "[Messages]\r\n";
        for (int i = 0; i < 100; ++i, entries += 2)
            text += QStringLiteral("Error %1.%2 in *\r\nFallo %1.%2 en *\r\n").arg(f).arg(i).toUtf8();
        if (f == 0) {
            text += "[TfrmBench]\r\nself.Caption=Ventana\r\n";
            for (int i = 0; i < kControls; ++i, entries += 2)
                text += QStringLiteral("lbl%1.Caption=Etiqueta %1\r\nlbl%1.Hint=Ayuda %1\r\n").arg(i).toUtf8();
        }
        for (int section = 0; entries < kEntriesPerFile; ++section) {
            text += QStringLiteral("[TfrmOther%1_%2]\r\n").arg(f).arg(section).toUtf8();
            for (int i = 0; i < 100 && entries < kEntriesPerFile; ++i, ++entries)
                text += QStringLiteral("ctl%1.Caption=Control %1\r\n").arg(i).toUtf8();
        }
        QFile file(QStringLiteral("%1/part%2.es.lng").arg(folder).arg(f));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            std::abort();
    }
    return folder;
}

void BM_LoadLanguage50000Entries(benchmark::State& state)
{
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteLanguage(dir));
    for (auto _ : state)
        manager.SetLanguageCode(QStringLiteral("es"));
    if (!manager.LastError().isEmpty() || manager.Constants()->Count() != kFiles * 500)
        state.SkipWithError("language did not load");
    state.counters["entries"] = manager.Constants()->Count() + manager.Properties()->Count();
}
BENCHMARK(BM_LoadLanguage50000Entries)->Unit(benchmark::kMillisecond);

void BM_LangVCL500Controls(benchmark::State& state)
{
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteLanguage(dir));
    manager.SetLanguageCode(QStringLiteral("es"));
    TfrmBench form;
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.LangVCL(&form));
    if (!manager.LastError().isEmpty() ||
        static_cast<TBenchLabel*>(form.children().last())->caption != QStringLiteral("Etiqueta 499"))
        state.SkipWithError("window was not translated");
}
BENCHMARK(BM_LangVCL500Controls)->Unit(benchmark::kMillisecond);

void BM_LangText(benchmark::State& state)
{
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteLanguage(dir));
    manager.SetLanguageCode(QStringLiteral("es"));
    const QString id = QStringLiteral("Const7_250");
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.LangText(id));
}
BENCHMARK(BM_LangText);

// Writes text as the language file name in a Langs folder of dir and
// returns the folder.
QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    const QString folder = dir.filePath(QStringLiteral("Langs"));
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        std::abort();
    return folder;
}

// One file of state.range(0) sections with one entry each: 50,000 make a
// file of about 1.1 MB. Loading should grow with the file's size.
void BM_LoadOneEntrySections(benchmark::State& state)
{
    const int sections = static_cast<int>(state.range(0));
    QByteArray text = "[Meridian Language File]\r\nLanguageName=Bench\r\n";
    for (int i = 0; i < sections; ++i)
        text += QStringLiteral("[TfrmS%1]\r\nctl.Caption=Texto %1\r\n").arg(i).toUtf8();
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteFile(dir, QStringLiteral("sections.es.lng"), text));
    for (auto _ : state)
        manager.SetLanguageCode(QStringLiteral("es"));
    if (!manager.LastError().isEmpty() || manager.Properties()->Count() != sections)
        state.SkipWithError("language did not load");
    state.counters["sections"] = sections;
}
BENCHMARK(BM_LoadOneEntrySections)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A product file of state.range(0) message pairs and as many constants, and
// a user file of as many of each, half replacing product texts and half
// adding their own.
void BM_LoadUserFile(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    QByteArray productMessages = "[Messages]\r\n";
    QByteArray userMessages = "[Messages]\r\n";
    QByteArray productConstants = "[Constants]\r\n";
    QByteArray userConstants = "[Constants]\r\n";
    for (int i = 0; i < count; ++i) {
        const int own = i % 2 == 0 ? i : count + i;
        productMessages += QStringLiteral("Error %1 in *\r\nFallo %1 en *\r\n").arg(i).toUtf8();
        userMessages += QStringLiteral("ERROR %1 IN *\r\nError %1 en *\r\n").arg(own).toUtf8();
        productConstants += QStringLiteral("Const%1=Texto %1\r\n").arg(i).toUtf8();
        userConstants += QStringLiteral("const%1=Propio %1\r\n").arg(own).toUtf8();
    }
    QTemporaryDir dir;
    WriteFile(dir, QStringLiteral("app.es.lng"), productConstants + productMessages);
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteFile(dir, QStringLiteral("app.es.lngu"), userConstants + userMessages));
    for (auto _ : state)
        manager.SetLanguageCode(QStringLiteral("es"));
    if (!manager.LastError().isEmpty() || manager.Constants()->Count() != count + count / 2 ||
        manager.LangMess(QStringLiteral("Error 0 in x")) != QStringLiteral("Error 0 en x") ||
        manager.LangText(QStringLiteral("CONST1")) != QStringLiteral("Texto 1"))
        state.SkipWithError("language did not load");
    state.counters["pairs"] = count;
}
BENCHMARK(BM_LoadUserFile)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);

QString Repeated(const char* piece, int count)
{
    return QString::fromUtf8(piece).repeated(count);
}

// LangMess of a language whose only message pattern is pattern, with the
// template "Traducido * y *" or the given one; matches tells whether the
// message should be translated or come back as it is.
void BM_LangMess(benchmark::State& state, const std::function<QString()>& pattern,
                 const std::function<QString()>& message, bool matches,
                 const QString& translationTemplate = {})
{
    const QString mask = pattern();
    const QString translation =
        translationTemplate.isEmpty() ? QStringLiteral("Traducido * y *") : translationTemplate;
    const QByteArray text = "[Messages]\r\n" + mask.toUtf8() + "\r\n" + translation.toUtf8() + "\r\n";
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteFile(dir, QStringLiteral("app.es.lng"), text));
    manager.SetLanguageCode(QStringLiteral("es"));
    const QString subject = message();
    QString result;
    for (auto _ : state)
        benchmark::DoNotOptimize(result = manager.LangMess(subject));
    const QString expected = matches ? safekeep::ApplyMessageTemplate(subject, mask, translation) : subject;
    if (!manager.LastError().isEmpty() || result != expected || (matches && result == subject))
        state.SkipWithError("unexpected translation");
    state.counters["chars"] = subject.size();
}

// 20,000 x "*a?": a message of ordinary length is too short for it.
BENCHMARK_CAPTURE(
    BM_LangMess, StarAQuestion20000_Short, [] { return Repeated("*a?", 20000); },
    [] { return QStringLiteral("aaaaa"); }, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarAQuestion20000_Long, [] { return Repeated("*a?", 20000); },
    [] { return Repeated("a", 2000); }, false)
    ->Unit(benchmark::kMillisecond);
// 700 x "*a?" fits a 2,000-character message: a match with 1,400 wildcards.
BENCHMARK_CAPTURE(
    BM_LangMess, StarAQuestion700_LongMatch, [] { return Repeated("*a?", 700); },
    [] { return Repeated("ab", 1000); }, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarAQuestion700_LongMatchManyWildcards, [] { return Repeated("*a?", 700); },
    [] { return Repeated("ab", 1000); }, true, Repeated("*b?", 700))
    ->Unit(benchmark::kMillisecond);
// A 60,000-character message that 20,000 x "*a?" matches, into a template
// of as many wildcards.
BENCHMARK_CAPTURE(
    BM_LangMess, StarAQuestion20000_HugeMatch, [] { return Repeated("*a?", 20000); },
    [] { return Repeated("xab", 20000); }, true, Repeated("*b?", 20000))
    ->Unit(benchmark::kMillisecond);
// "*" and 30,000 unclosed "[": each "[" is a literal.
BENCHMARK_CAPTURE(
    BM_LangMess, StarBrackets30000_Short, [] { return QStringLiteral("*") + Repeated("[", 30000); },
    [] { return QStringLiteral("[[[[["); }, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarBrackets30000_Long, [] { return QStringLiteral("*") + Repeated("[", 30000); },
    [] { return Repeated("[", 2000); }, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarBrackets1000_LongMatch, [] { return QStringLiteral("*") + Repeated("[", 1000); },
    [] { return Repeated("[", 2000); }, true)
    ->Unit(benchmark::kMillisecond);
// One "*" and a long literal: 60,000 characters never fit; 1,500 fit, and
// the literal nearly matches at every position of the message.
BENCHMARK_CAPTURE(
    BM_LangMess, StarLiteral60000_Short, [] { return QStringLiteral("*") + Repeated("x", 60000); },
    [] { return QStringLiteral("xxxxx"); }, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarLiteral60000_Long, [] { return QStringLiteral("*") + Repeated("x", 60000); },
    [] { return Repeated("x", 2000); }, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarLiteral1500_LongMatch, [] { return QStringLiteral("*") + Repeated("x", 1499) + "y"; },
    [] { return Repeated("x", 1999) + "y"; }, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_LangMess, StarLiteral1500_LongNoMatch, [] { return QStringLiteral("*") + Repeated("x", 1499) + "y*"; },
    [] { return Repeated("x", 2000); }, false)
    ->Unit(benchmark::kMillisecond);

// An ordinary message against the 2,000 patterns of the 50,000-entry
// language; the last pattern is the one that matches.
void BM_LangMessOrdinary(benchmark::State& state)
{
    QTemporaryDir dir;
    safekeep::TLanguageManager manager;
    manager.SetFolder(WriteLanguage(dir));
    manager.SetLanguageCode(QStringLiteral("es"));
    const QString message = QStringLiteral("Error 19.99 in backup.7z");
    QString result;
    for (auto _ : state)
        benchmark::DoNotOptimize(result = manager.LangMess(message));
    if (result != QStringLiteral("Fallo 19.99 en backup.7z"))
        state.SkipWithError("unexpected translation");
}
BENCHMARK(BM_LangMessOrdinary)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "langman_bench.moc"
