// The Snap and Jump panes redraw on every settings change while the settings
// window is open: each redraw must fit in one frame (budget 16 ms). The Jump
// pane lists 40 running and 10 pinned apps, icons warm; the Snap pane has its
// 18 rows.
#include "OffscreenApp.h"
#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"
#include "ui/panes/JumpPane.h"
#include "ui/panes/SnapPane.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

struct PanesBench {
    PanesBench()
    {
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        for (int i = 0; i < 40; ++i) {
            platform::RunningApp app;
            app.pid = 1000 + i;
            app.appId = QStringLiteral("org.example.Running%1").arg(i);
            app.name = QString(QChar('A' + i % 26)) + QStringLiteral("pp %1").arg(i);
            app.regular = true;
            fake.workspaceImpl.apps.push_back(app);
        }
        QMap<QString, QString> pinned;
        for (int i = 0; i < 10; ++i) {
            platform::AppEntry entry;
            entry.appId = QStringLiteral("org.example.Pinned%1").arg(i);
            entry.name = QStringLiteral("Pinned %1").arg(i);
            entry.path = QStringLiteral("/usr/share/applications/") + entry.appId + QStringLiteral(".desktop");
            fake.appDirectoryImpl.list.push_back(entry);
            pinned.insert(QString(QChar('a' + i)), entry.appId);
        }
        app->settings().setJumpForced(pinned);
        model = std::make_unique<SettingsModel>(app->settingsWindow().features());
    }
    ~PanesBench()
    {
        model.reset();
        app.reset();
    }
    /// A settings change as the panes see it: one key flipped.
    void change() { app->settings().setJumpHideOnRepeat(!app->settings().jumpHideOnRepeat()); }

    fakes::FakePlatform fake;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    std::unique_ptr<SettingsModel> model;
};

void BM_JumpPaneStateFortyRunningTenPinned(benchmark::State& state)
{
    const auto widgets = bench::ensureApp();
    PanesBench bench;
    JumpPane::state(bench.app->settings()); // icons warm
    for (auto _ : state) {
        bench.change();
        benchmark::DoNotOptimize(JumpPane::state(bench.app->settings()));
    }
}
BENCHMARK(BM_JumpPaneStateFortyRunningTenPinned)->Unit(benchmark::kMicrosecond);

void BM_JumpPaneRedrawFortyRunningTenPinned(benchmark::State& state)
{
    const auto widgets = bench::ensureApp();
    PanesBench bench;
    JumpPane pane(*bench.model);
    pane.reload();
    for (auto _ : state) {
        bench.change();
        pane.reload();
    }
}
BENCHMARK(BM_JumpPaneRedrawFortyRunningTenPinned)->Unit(benchmark::kMicrosecond);

void BM_SnapPaneRedrawEighteenRows(benchmark::State& state)
{
    const auto widgets = bench::ensureApp();
    PanesBench bench;
    SnapPane pane(*bench.model);
    pane.edgeTilingEnabled = [] { return false; };
    pane.reload();
    for (auto _ : state) {
        bench.change();
        pane.reload();
    }
}
BENCHMARK(BM_SnapPaneRedrawEighteenRows)->Unit(benchmark::kMicrosecond);

} // namespace
