// The shelf controller's costs: a drag move that changes nothing (the same
// drag, no files; budget 5 µs, as it runs on every pointer move of every
// drag), and opening the shelf with 50 items up to its first frame (budget
// 8 ms).

#include "fakes/FakePlatform.h"
#include "input/DragWatcher.h"
#include "notch/NotchStage.h"
#include "shelf/ShelfController.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace quillon;

namespace {

std::unique_ptr<QApplication> ensureApp()
{
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QCoreApplication::instance())
        return nullptr;
    return std::make_unique<QApplication>(argc, argv);
}

} // namespace

static void BM_ShelfHandleDragUnchanged(benchmark::State& state)
{
    const auto app = ensureApp();
    fakes::FakePlatform fake;
    fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
    QTemporaryDir dir;
    ShelfStore store(dir.path() + "/Shelf");
    DragWatcher drags;
    NotchStage stage;
    ShelfController controller(store, drags, stage);
    controller.setEnabled(true);
    fake.pointerImpl.position = {200, 200};
    for (auto _ : state)
        controller.handleDrag(DragWatcher::Event::dragged);
    controller.setEnabled(false);
}
BENCHMARK(BM_ShelfHandleDragUnchanged);

static void BM_ShelfExpandFiftyItems(benchmark::State& state)
{
    const auto app = ensureApp();
    fakes::FakePlatform fake;
    fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
    QTemporaryDir dir;
    ShelfStore store(dir.path() + "/Shelf");
    for (int i = 0; i < 50; ++i) {
        QFile file(dir.path() + QString("/file%1.txt").arg(i));
        if (file.open(QIODevice::WriteOnly))
            file.write("shelf");
        store.add({QUrl::fromLocalFile(file.fileName())});
    }
    DragWatcher drags;
    NotchStage stage;
    ShelfController controller(store, drags, stage);
    controller.setEnabled(true);
    for (auto _ : state) {
        controller.expand();
        // The first frame: the panel drawn once.
        QImage frame(controller.view()->size(), QImage::Format_ARGB32_Premultiplied);
        controller.view()->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
        state.PauseTiming();
        controller.setEnabled(false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        controller.setEnabled(true);
        state.ResumeTiming();
    }
    controller.setEnabled(false);
}
BENCHMARK(BM_ShelfExpandFiftyItems)->Unit(benchmark::kMillisecond);
