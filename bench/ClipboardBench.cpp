// The clipboard store and paste menu rows at their largest: previews of nine
// 100,000-byte texts (within a frame), an ingest into a full history (the
// main thread's share, and with its write), and a load of a 1,000-entry file.
#include "features/clipboard/ClipboardMenu.h"
#include "features/clipboard/ClipboardStore.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/AppFiles.h"
#include "support/AtomicFile.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

/// A real platform on a private data folder.
struct Rig {
    Rig()
    {
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "quillon_bench";
            static char* argv[] = {name, nullptr};
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static QGuiApplication app(argc, argv);
        }
        platform::setPlatform(&system);
    }
    ~Rig() { platform::setPlatform(nullptr); }
    QString history() const { return AppFiles::root() + "/Clipboard.json"; }
    QString pins() const { return AppFiles::root() + "/ClipboardPins.json"; }

    QTemporaryDir home;
    platform::linux_::LinuxPlatform system;
};

QString textOf(int bytes, int seed)
{
    QString text = QString::number(seed) + QStringLiteral(" word");
    while (text.size() < bytes)
        text += QStringLiteral(" more words ") + QString::number(text.size());
    return text.left(bytes);
}

} // namespace

static void BM_PreviewsAndRowsOfNineLargeTexts(benchmark::State& state)
{
    std::vector<QString> texts;
    for (int i = 0; i < 9; ++i)
        texts.push_back(textOf(ClipboardStore::maxTextBytes, i));
    for (auto _ : state) {
        std::vector<QString> previews;
        for (const QString& text : texts)
            previews.push_back(ClipboardStore::preview(text, 34));
        benchmark::DoNotOptimize(ClipboardMenu::items(previews, {}));
    }
}
BENCHMARK(BM_PreviewsAndRowsOfNineLargeTexts)->Unit(benchmark::kMillisecond);

static void ingestIntoFullHistory(benchmark::State& state, int bytes, bool withWrite)
{
    Rig rig;
    ClipboardStore store(rig.history(), rig.pins());
    store.load();
    for (int i = 0; i < 20; ++i)
        store.ingest(textOf(bytes, i));
    int seed = 100;
    for (auto _ : state) {
        store.ingest(textOf(bytes, ++seed));
        if (withWrite)
            store.writePins(); // waits for the queued history write
    }
    store.writePins();
}

static void BM_IngestTypicalCopyMainThread(benchmark::State& state)
{
    ingestIntoFullHistory(state, 800, false);
}
BENCHMARK(BM_IngestTypicalCopyMainThread)->Unit(benchmark::kMicrosecond);

static void BM_IngestLargeTextWithItsWrite(benchmark::State& state)
{
    ingestIntoFullHistory(state, ClipboardStore::maxTextBytes, true);
}
BENCHMARK(BM_IngestLargeTextWithItsWrite)->Unit(benchmark::kMillisecond);

static void BM_LoadThousandEntriesAndFullPins(benchmark::State& state)
{
    Rig rig;
    std::vector<ClipboardEntry> list;
    for (int i = 0; i < 1000; ++i)
        list.push_back({textOf(200, i), QDateTime::currentDateTimeUtc()});
    AtomicFile::write(rig.history(), ClipboardStore::encode(list));
    list.resize(20);
    AtomicFile::write(rig.pins(), ClipboardStore::encodePins(list, true));
    ClipboardStore store(rig.history(), rig.pins());
    for (auto _ : state)
        store.load();
}
BENCHMARK(BM_LoadThousandEntriesAndFullPins)->Unit(benchmark::kMillisecond);
