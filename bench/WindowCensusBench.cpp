// How long one read of the window list takes with 200 client windows: the
// census reads it for every watched app, on the sweep's queue. Needs an X
// display with a window manager (run it through scripts/with-desktop).
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

namespace {

constexpr int windowCount = 200;

// Opens the windows on a connection of their own and closes them when done.
class ManyWindows {
public:
    explicit ManyWindows(X11Connection& x)
        : m_x(x)
    {
        for (int i = 0; i < windowCount; ++i) {
            const xcb_window_t w = xcb_generate_id(x.get());
            xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, w, x.root(), int16_t(10 + i), int16_t(10 + i),
                              200, 120, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen()->root_visual, 0,
                              nullptr);
            const QByteArray title = "bench window " + QByteArray::number(i);
            xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, w, x.atom("_NET_WM_NAME"),
                                x.atom("UTF8_STRING"), 8, uint32_t(title.size()), title.constData());
            xcb_map_window(x.get(), w);
            m_windows.push_back(w);
        }
        xcb_flush(x.get());
    }
    ~ManyWindows()
    {
        for (const xcb_window_t w : m_windows)
            xcb_destroy_window(m_x.get(), w);
        xcb_flush(m_x.get());
    }

private:
    X11Connection& m_x;
    std::vector<xcb_window_t> m_windows;
};

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

// Until the window manager lists the windows (or ten seconds pass).
void awaitManaged(X11Connection& owner)
{
    Ewmh ewmh(owner);
    for (int tries = 0; tries < 1000 && ewmh.clientList(true).value_or(std::vector<xcb_window_t>{}).size() <
                                            size_t(windowCount);
         ++tries)
        QThread::msleep(10);
}

void BM_WindowListOf200Clients(benchmark::State& state)
{
    auto owner = display(state);
    if (!owner)
        return;
    ManyWindows windows(*owner);
    awaitManaged(*owner);
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
    ManyWindows windows(*owner);
    awaitManaged(*owner);
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
    ManyWindows windows(*owner);
    awaitManaged(*owner);
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
