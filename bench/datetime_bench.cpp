// FormatDateTime against Qt's own date formatting, on the formats the
// backup window uses.
#include "toolkit/core/datetime.h"

#include <QDateTime>
#include <benchmark/benchmark.h>

namespace {

void BM_FormatDateTime_Short(benchmark::State& state)
{
    const tk::TDateTime value = tk::EncodeDate(2026, 12, 8) + tk::EncodeTime(17, 5, 30, 0);
    const QString format = QStringLiteral("dd/mm/yy");
    for (auto _ : state)
        benchmark::DoNotOptimize(tk::FormatDateTime(format, value));
}
BENCHMARK(BM_FormatDateTime_Short);

void BM_QtToString_Short(benchmark::State& state)
{
    const QDateTime value(QDate(2026, 12, 8), QTime(17, 5, 30));
    const QString format = QStringLiteral("dd/MM/yy");
    for (auto _ : state)
        benchmark::DoNotOptimize(value.toString(format));
}
BENCHMARK(BM_QtToString_Short);

void BM_FormatDateTime_LocaleShortDate(benchmark::State& state)
{
    const tk::TDateTime value = tk::EncodeDate(2026, 12, 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(tk::DateToStr(value));
}
BENCHMARK(BM_FormatDateTime_LocaleShortDate);

void BM_QtLocaleShortDate(benchmark::State& state)
{
    const QDate value(2026, 12, 8);
    const QLocale locale = QLocale::system();
    for (auto _ : state)
        benchmark::DoNotOptimize(locale.toString(value, QLocale::ShortFormat));
}
BENCHMARK(BM_QtLocaleShortDate);

}  // namespace

BENCHMARK_MAIN();
