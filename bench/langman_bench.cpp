// The language manager at the sizes a large program reaches: a language of
// 50,000 entries over 20 files, and translating a window of 500 controls.
#include "safekeep/langman/languagemanager.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdlib>

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
