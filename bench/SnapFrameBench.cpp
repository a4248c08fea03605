// A snap from the move request to the window manager's answer, on a real
// window: run it on the virtual desktop (scripts/with-desktop), where openbox
// answers. The median must stay under 50 ms.
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11WindowControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <benchmark/benchmark.h>
#include <chrono>

using namespace quillon::platform::linux_;

static void BM_SnapFrameRequestToConfigureNotify(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QCoreApplication>(argc, argv);
    auto x = X11Connection::open();
    if (!x) {
        state.SkipWithError("needs an X server with a window manager (scripts/with-desktop)");
        return;
    }
    // A plain managed window of our own.
    const xcb_window_t window = xcb_generate_id(x->get());
    const uint32_t values[] = {x->screen()->white_pixel};
    xcb_create_window(x->get(), XCB_COPY_FROM_PARENT, window, x->root(), 50, 50, 300, 200, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, x->screen()->root_visual, XCB_CW_BACK_PIXEL, values);
    xcb_map_window(x->get(), window);
    x->flush();
    X11WindowControl control(X11Connection::open());
    auto settle = [&](int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    };
    settle(300);
    const QRectF frames[2] = {QRectF(0, 0, 960, 1000), QRectF(960, 0, 960, 1000)};
    int next = 0;
    for (auto _ : state) {
        bool done = false;
        const auto start = std::chrono::steady_clock::now();
        control.setFrame(window, frames[next], [&](std::optional<QRectF>) { done = true; });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        next = 1 - next;
    }
    xcb_destroy_window(x->get(), window);
    x->flush();
}
BENCHMARK(BM_SnapFrameRequestToConfigureNotify)
    ->UseManualTime()
    ->Iterations(100)
    ->Repetitions(1)
    ->Unit(benchmark::kMillisecond);
