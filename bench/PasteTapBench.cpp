// The paste tap answers Ctrl+V while the keyboard waits for it: one quick
// tap (press, then release) through the feature's handlers, the flow's
// reducer and the work it queues, must stay well under 10 µs per key.
#include "fakes/FakePlatform.h"
#include "features/clipboard/ClipboardFeature.h"
#include "input/ModifierWatcher.h"
#include "settings/Settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillon;

static void BM_PasteTapQuickCtrlV(benchmark::State& state)
{
    namespace F = platform::KeyFlags;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    ModifierWatcher modifiers;
    ClipboardFeature feature{settings, modifiers};
    feature.activate();
    fake.keyEventsImpl.sendFlags(F::command);
    if (!feature.pasteTapArmed()) {
        state.SkipWithError("the paste tap did not arm");
        return;
    }
    int taps = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fake.interceptorImpl.press(9, F::command));
        fake.interceptorImpl.release(9, F::command);
        if (++taps % 1024 == 0) {
            // The queued pastes run outside the measure (the board is empty:
            // nothing is stored).
            state.PauseTiming();
            fake.queue.drain();
            fake.keySynthImpl.strokes.clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations() * 2); // keys
}
BENCHMARK(BM_PasteTapQuickCtrlV)->Unit(benchmark::kMicrosecond);
