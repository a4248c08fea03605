// The snippet picker arms a tap on every key with any modifiers when it
// opens and disarms it when it closes; keys typed meanwhile wait for it. On
// the real interceptor and X server (run under scripts/with-desktop; it
// skips without a display), arming and disarming must stay under 50 ms.
#include "fakes/FakePlatform.h"
#include "platform/linux/X11KeyInterceptor.h"

#include <benchmark/benchmark.h>

using namespace quillon;

static void BM_EveryKeyTapArmAndDisarm(benchmark::State& state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        state.SkipWithError("no X display: run under scripts/with-desktop");
        return;
    }
    fakes::FakePlatform fake; // for the log
    platform::linux_::X11KeyInterceptor interceptor;
    if (!interceptor.isAvailable()) {
        state.SkipWithError("no XInput 2.2 on this display");
        return;
    }
    platform::KeyGrab grab;
    grab.everyKey = true;
    grab.modifiers = platform::KeyGrab::everyModifier();
    const auto handler = [](const platform::KeyEvent&) { return false; };
    int grabs = 0;
    for (auto _ : state) {
        const std::optional<int> token = interceptor.arm(grab, handler);
        grabs = interceptor.grabCount();
        if (token)
            interceptor.disarm(*token);
    }
    state.counters["grabs"] = grabs;
}
BENCHMARK(BM_EveryKeyTapArmAndDisarm)->Unit(benchmark::kMillisecond);
