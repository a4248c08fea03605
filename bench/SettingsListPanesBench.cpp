// The Clipboard and Snippets panes redrawn after a change: the state read
// from the stores and the rows updated in place. Budget: one frame (16 ms)
// each, with 20 history entries of 100,000 bytes and 20 pins, and with 200
// snippets and the eight live placeholder examples.

#include "OffscreenApp.h"
#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "features/clipboard/ClipboardFeature.h"
#include "features/snippets/SnippetsFeature.h"
#include "ui/SettingsModel.h"
#include "ui/SettingsWindowController.h"
#include "ui/panes/ClipboardPane.h"
#include "ui/panes/SnippetsPane.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

/// The application's features on the fake platform, with a model over them.
struct PaneRig {
    PaneRig()
    {
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
        model = std::make_unique<SettingsModel>(app->settingsWindow().features());
    }
    ~PaneRig()
    {
        model.reset();
        app.reset();
    }
    fakes::FakePlatform fake;
    std::unique_ptr<AppDelegate> app = std::make_unique<AppDelegate>();
    std::unique_ptr<SettingsModel> model;
};

} // namespace

static void BM_ClipboardPaneRedrawAfterAPinMoves(benchmark::State& state)
{
    const auto qt = bench::ensureApp();
    PaneRig rig;
    ClipboardStore& store = rig.app->clipboard().store();
    store.load();
    for (int i = 0; i < 20; ++i) {
        // Each entry 100,000 bytes, distinct at its start so the previews differ.
        const QString text = QStringLiteral("entry %1 ").arg(i) + QString(u'x').repeated(100'000 - 10);
        store.entries.push_back({text, QDateTime()});
        store.pinned.push_back(
            {QStringLiteral("pin %1 ").arg(i) + QString(u'y').repeated(100'000 - 10), QDateTime()});
    }
    ClipboardPane pane(*rig.model);
    pane.resize(640, 900);
    pane.reload();
    for (auto _ : state) {
        // The change: a pin moves to the front, as a drag would leave it.
        std::rotate(store.pinned.begin(), store.pinned.end() - 1, store.pinned.end());
        pane.reload();
        benchmark::DoNotOptimize(pane.rows().size());
    }
}
BENCHMARK(BM_ClipboardPaneRedrawAfterAPinMoves)->Unit(benchmark::kMillisecond);

static void BM_SnippetsPaneRedrawWithTwoHundredSnippets(benchmark::State& state)
{
    const auto qt = bench::ensureApp();
    PaneRig rig;
    SnippetStore& store = rig.app->snippets().store();
    QJsonArray records;
    for (int i = 0; i < 200; ++i)
        records.append(QJsonObject{{"trigger", QStringLiteral("s%1").arg(i)},
                                   {"body", QStringLiteral("Line %1 {date}\nsecond line").arg(i)}});
    store.importEntries(records);
    SnippetsPane pane(*rig.model);
    pane.resize(640, 900);
    pane.reload();
    int round = 0;
    for (auto _ : state) {
        // The change: one snippet's body, as the editor saves it, kept in
        // memory so the file write is not what is measured.
        std::vector<Snippet>& list = const_cast<std::vector<Snippet>&>(store.all());
        ++round;
        list[std::size_t(round % 200)].body = QStringLiteral("edited %1").arg(round);
        pane.reload();
        benchmark::DoNotOptimize(pane.rows().size());
    }
}
BENCHMARK(BM_SnippetsPaneRedrawWithTwoHundredSnippets)->Unit(benchmark::kMillisecond);
