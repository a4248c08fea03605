// How long a roll's scan of the debug file takes: the cut is searched over
// every line of a 5 MiB file each time the file rolls.
#include "support/FileLog.h"

#include <benchmark/benchmark.h>

using quillon::FileLog;

static void BM_CutIndexOverARollSizedFile(benchmark::State& state)
{
    const QDateTime now = QDateTime::fromString(QStringLiteral("2026-03-01T09:00:00.000Z"), Qt::ISODateWithMs);
    QStringList lines;
    for (int i = 0; i < 25000; ++i)
        lines << FileLog::timestamp(now.addSecs(-100000 + i * 4)) + QStringLiteral(" a message of ordinary length");
    for (auto _ : state)
        benchmark::DoNotOptimize(FileLog::cutIndex(lines, now, FileLog::retention));
}
BENCHMARK(BM_CutIndexOverARollSizedFile)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
