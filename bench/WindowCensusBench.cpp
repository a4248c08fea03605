// How long one read of the window list takes with 200 client windows: the
// census reads it for every watched app, on the sweep's queue. Needs an X
// display with a window manager (run it through scripts/with-desktop).
#include "ManyWindows.h"
#include "platform/Platform.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/X11WindowServer.h"
#include "windows/WindowCensus.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <benchmark/benchmark.h>
#include <future>

using namespace quillon::platform::linux_;
using namespace quillon::bench;

namespace {

constexpr int windowCount = 200;

// Qt (for the X11 helpers) and a connection; none, with the benchmark
// skipped, without a display.
std::unique_ptr<X11Connection> display(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "quillon_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
    auto owner = X11Connection::open();
    if (!owner)
        state.SkipWithError("needs an X display (run through scripts/with-desktop)");
    return owner;
}

void BM_WindowListOf200Clients(benchmark::State& state)
{
    auto owner = display(state);
    if (!owner)
        return;
    ManyWindows windows(*owner, windowCount);
    awaitManaged(*owner, windowCount);
    X11WindowServer server(X11Connection::open());
    size_t entries = 0;
    for (auto _ : state) {
        auto list = server.windowList(false);
        entries = list ? list->size() : 0;
        benchmark::DoNotOptimize(list);
    }
    state.counters["windows"] = double(entries);
}
BENCHMARK(BM_WindowListOf200Clients)->Unit(benchmark::kMillisecond);

// The sweep's census of one app over 200 clients, run on its serial queue as
// the sweep runs it. The app owns none of them, so all three counts are
// taken (the others only run when the first finds no window).
void BM_SweepCensusOf200Clients(benchmark::State& state)
{
    auto owner = display(state);
    if (!owner)
        return;
    ManyWindows windows(*owner, windowCount);
    awaitManaged(*owner, windowCount);
    LinuxPlatform linux;
    quillon::platform::setPlatform(&linux);
    const auto queue = linux.tasks().makeSerial();
    for (auto _ : state) {
        std::promise<int> done;
        queue->run([&done] {
            const auto ax = quillon::WindowCensus::keepAliveWindowCount(1);
            const auto other = quillon::WindowCensus::otherSpaceWindowCount(1);
            const auto onScreen = quillon::WindowCensus::onScreenWindowCount(1);
            done.set_value(ax.value_or(-1) + other.value_or(-1) + onScreen.value_or(-1));
        });
        benchmark::DoNotOptimize(done.get_future().get());
    }
    quillon::platform::setPlatform(nullptr);
}
BENCHMARK(BM_SweepCensusOf200Clients)->Unit(benchmark::kMillisecond);

// The same windows listed by xwininfo, for comparison in the same run.
void BM_XwininfoTreeOf200Clients(benchmark::State& state)
{
    auto owner = display(state);
    if (!owner)
        return;
    ManyWindows windows(*owner, windowCount);
    awaitManaged(*owner, windowCount);
    for (auto _ : state) {
        QProcess xwininfo;
        xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
        if (!xwininfo.waitForFinished(10000)) {
            state.SkipWithError("xwininfo did not run");
            return;
        }
        benchmark::DoNotOptimize(xwininfo.readAllStandardOutput());
    }
}
BENCHMARK(BM_XwininfoTreeOf200Clients)->Unit(benchmark::kMillisecond);

} // namespace
