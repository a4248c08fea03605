// One focus-dimming reorder over 100 client windows: the window list, the
// plan and the restack of the overlay above the topmost dimmed window. It
// must fit well within a frame (5 ms) for the dimming to follow a focus
// change. Needs an X display with a window manager (scripts/with-desktop).
#include "ManyWindows.h"
#include "features/focus/FocusLayout.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11WindowServer.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::platform::linux_;

namespace {

constexpr int windowCount = 100;

void BM_FocusReorderOf100Clients(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "quillon_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance() && qEnvironmentVariableIsSet("DISPLAY"))
        new QApplication(argc, argv);
    // The overlay is a Qt window on Qt's own X connection.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) ||
        !qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        state.SkipWithError("needs an X display (run through scripts/with-desktop)");
        return;
    }
    auto owner = X11Connection::open();
    if (!owner) {
        state.SkipWithError("needs an X display (run through scripts/with-desktop)");
        return;
    }
    bench::ManyWindows windows(*owner, windowCount);
    bench::awaitManaged(*owner, windowCount);
    X11WindowServer server(X11Connection::open());
    X11OverlayWindows overlays;
    QWidget overlay;
    overlays.prepare(overlay, {.level = 0, .clickThrough = true, .captureExcluded = true});
    overlays.setFrame(overlay, QRectF(0, 0, 1920, 1080));
    overlays.show(overlay);

    std::size_t listed = 0;
    int placed = 0;
    for (auto _ : state) {
        FocusLayout::Facts facts;
        facts.list = server.windowList(true).value_or(std::vector<platform::WindowEntry>{});
        facts.ownPid = ::getpid();
        facts.front = facts.ownPid;
        facts.screens = {QRectF(0, 0, 1920, 1080)};
        const FocusLayout::Plan plan = FocusLayout::plan(facts);
        listed = plan.onScreen.size();
        if (!plan.anchors.empty() && plan.anchors.front())
            placed += overlays.stackAbove(overlay, platform::WindowId(*plan.anchors.front())) ? 1 : 0;
        else
            overlays.stackAtBack(overlay);
    }
    state.counters["windows"] = double(listed);
    state.counters["placed"] = double(placed);
}
BENCHMARK(BM_FocusReorderOf100Clients)->Unit(benchmark::kMillisecond);

} // namespace
