// What a stash costs: a large file, and a folder of many small ones (both
// copied by the kernel); and the drag probe's check for a new drag, asked on
// every pointer move of a drag.
#include "fakes/FakePlatform.h"
#include "platform/linux/X11DragProbe.h"
#include "shelf/ShelfStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quillon;

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "quillon_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

void stash(benchmark::State& state, const QString& source)
{
    QTemporaryDir shelf;
    ShelfStore store(shelf.path() + "/Shelf");
    for (auto _ : state) {
        const auto result = store.add({QUrl::fromLocalFile(source)});
        state.PauseTiming();
        store.remove({result.added.first().id});
        state.ResumeTiming();
    }
}

void BM_StashA500MBFile(benchmark::State& state)
{
    fakes::FakePlatform fake;
    QTemporaryDir dir;
    const QString path = dir.path() + "/large.bin";
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    const QByteArray block(1 << 20, 'q');
    for (int i = 0; i < 500; ++i)
        file.write(block);
    file.close();
    stash(state, path);
}
BENCHMARK(BM_StashA500MBFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StashAFolderOf5000SmallFiles(benchmark::State& state)
{
    fakes::FakePlatform fake;
    QTemporaryDir dir;
    const QString folder = dir.path() + "/many";
    QDir().mkpath(folder);
    for (int i = 0; i < 5000; ++i) {
        QFile file(folder + QStringLiteral("/file-%1.txt").arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(512, 'x'));
    }
    stash(state, folder);
}
BENCHMARK(BM_StashAFolderOf5000SmallFiles)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DragProbeChangeCountWithNothingNew(benchmark::State& state)
{
    ensureApplication();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("needs an X display (run through scripts/with-desktop)");
        return;
    }
    platform::linux_::X11DragProbe probe;
    for (auto _ : state)
        benchmark::DoNotOptimize(probe.changeCount());
}
BENCHMARK(BM_DragProbeChangeCountWithNothingNew)->Unit(benchmark::kMicrosecond);

} // namespace
