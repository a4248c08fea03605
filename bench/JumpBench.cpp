// The jump strip must be ready within the 0.2 s hold delay; the bindings are
// rebuilt on every app launch and quit. Measured on the fakes, icons warm.
#include "fakes/FakePlatform.h"
#include "features/jump/JumpFeature.h"
#include "input/LeaderWatcher.h"
#include "input/ModifierWatcher.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

struct JumpBench {
    explicit JumpBench(int apps)
    {
        for (int i = 0; i < apps; ++i) {
            platform::RunningApp app;
            app.pid = 1000 + i;
            app.appId = QStringLiteral("org.example.App%1").arg(i);
            app.name = QString(QChar('A' + i % 26)) + QStringLiteral("pp %1").arg(i);
            app.regular = true;
            app.active = i == 0;
            fake.workspaceImpl.apps.push_back(app);
        }
        settings.setJumpCycleSameLetter(true);
        settings.setNotchMaxHintItems(20);
        jump.activate();
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    ModifierWatcher modifiers;
    LeaderWatcher leader{modifiers};
    JumpFeature jump{settings, leader};
};

void BM_JumpRebuildAutoBindingsOverHundredApps(benchmark::State& state)
{
    JumpBench bench(100);
    for (auto _ : state)
        bench.jump.rebuildAutoBindings();
}
BENCHMARK(BM_JumpRebuildAutoBindingsOverHundredApps)->Unit(benchmark::kMicrosecond);

void BM_JumpCommandHintsOverSixtyApps(benchmark::State& state)
{
    JumpBench bench(60);
    bench.jump.hintItems(Leader::command); // icons warm
    for (auto _ : state)
        benchmark::DoNotOptimize(bench.jump.hintItems(Leader::command));
}
BENCHMARK(BM_JumpCommandHintsOverSixtyApps)->Unit(benchmark::kMicrosecond);

} // namespace
