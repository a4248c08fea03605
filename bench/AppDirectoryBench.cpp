// The application picker: the sheet loads `pickable` when it opens (under
// 100 ms, from a directory that has not read its entries yet) and runs
// `filter` on every keystroke (under 2 ms), over 1,000 installed desktop
// entries and 40 running apps.
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/XdgAppDirectory.h"
#include "ui/AppDirectory.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace quillon;

namespace {

const QStringList words{"Text", "Photo", "Music", "Mail", "Web", "Note", "Chart", "Code", "Map", "Game"};

/// 1,000 entries in a private XDG data folder, 40 of them running, on the
/// real directory reader.
struct PickerRig final : fakes::ForwardingPlatform {
    PickerRig()
    {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "quillon_bench";
            static char* argv[] = {name, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static QGuiApplication app(argc, argv);
        }
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
        qputenv("XDG_DATA_DIRS", (home.path() + "/system").toUtf8());
        for (const QString& root : {QStringLiteral("/data/applications"), QStringLiteral("/system/applications")})
            QDir().mkpath(home.path() + root);
        for (int i = 0; i < 1000; ++i) {
            const QString id = QStringLiteral("org.example.App%1").arg(i);
            QFile file(home.path() + (i % 4 ? "/system" : "/data") + "/applications/" + id + ".desktop");
            if (!file.open(QIODevice::WriteOnly))
                continue;
            file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1 %2 %3\nName[de]=%1 %2\n"
                                      "Icon=app%3\nExec=app%3 %U\nCategories=Utility;\n")
                           .arg(words[i % words.size()], words[(i / 10) % words.size()])
                           .arg(i)
                           .toUtf8());
        }
        for (int i = 0; i < 40; ++i) {
            platform::RunningApp app;
            app.pid = 100 + i;
            // Half of them installed, half started from elsewhere.
            app.appId = i % 2 ? QStringLiteral("org.example.App%1").arg(i * 20) : QStringLiteral("loose.%1").arg(i);
            app.name = QStringLiteral("Running %1").arg(i);
            app.regular = true;
            fake.workspaceImpl.apps.push_back(app);
        }
        fresh();
    }
    /// A directory that has read nothing yet.
    void fresh() { directory = std::make_unique<platform::linux_::XdgAppDirectory>(); }
    platform::AppDirectory& appDirectory() override { return *directory; }

    QTemporaryDir home;
    std::unique_ptr<platform::linux_::XdgAppDirectory> directory;
};

} // namespace

static void BM_PickableCold(benchmark::State& state)
{
    PickerRig rig;
    for (auto _ : state) {
        state.PauseTiming();
        rig.fresh();
        state.ResumeTiming();
        benchmark::DoNotOptimize(AppDirectory::pickable({QStringLiteral("org.example.App3")}));
    }
}
BENCHMARK(BM_PickableCold)->Unit(benchmark::kMillisecond);

static void BM_FilterPerKeystroke(benchmark::State& state)
{
    PickerRig rig;
    const auto apps = AppDirectory::pickable({});
    const QString query = QStringLiteral("photo m");
    for (auto _ : state) {
        for (qsizetype length = 1; length <= query.size(); ++length)
            benchmark::DoNotOptimize(AppDirectory::filter(apps, query.left(length)));
    }
    state.SetItemsProcessed(state.iterations() * query.size());
}
// Time per iteration covers seven keystrokes.
BENCHMARK(BM_FilterPerKeystroke)->Unit(benchmark::kMillisecond);
