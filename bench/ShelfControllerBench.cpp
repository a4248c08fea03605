// The shelf controller's costs: a drag move that changes nothing (the same
// drag, no files; budget 5 µs, as it runs on every pointer move of every
// drag), and opening the shelf with 50 items up to its first frame (budget
// 8 ms).

#include "OffscreenApp.h"
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

using bench::ensureApp;

namespace {

/// The controller on the fake platform with one 1440 × 900 screen, and a
/// shelf holding `items` files.
struct ShelfRig {
    explicit ShelfRig(int items)
    {
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        for (int i = 0; i < items; ++i) {
            QFile file(dir.path() + QString("/file%1.txt").arg(i));
            if (file.open(QIODevice::WriteOnly))
                file.write("shelf");
            store.add({QUrl::fromLocalFile(file.fileName())});
        }
        controller.setEnabled(true);
    }
    ~ShelfRig() { controller.setEnabled(false); }

    fakes::FakePlatform fake;
    QTemporaryDir dir;
    ShelfStore store{dir.path() + "/Shelf"};
    DragWatcher drags;
    NotchStage stage;
    ShelfController controller{store, drags, stage};
};

} // namespace

static void BM_ShelfHandleDragUnchanged(benchmark::State& state)
{
    const auto app = ensureApp();
    ShelfRig rig(0);
    rig.fake.pointerImpl.position = {200, 200};
    for (auto _ : state)
        rig.controller.handleDrag(DragWatcher::Event::dragged);
}
BENCHMARK(BM_ShelfHandleDragUnchanged);

static void BM_ShelfExpandFiftyItems(benchmark::State& state)
{
    const auto app = ensureApp();
    ShelfRig rig(50);
    ShelfController& controller = rig.controller;
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
}
BENCHMARK(BM_ShelfExpandFiftyItems)->Unit(benchmark::kMillisecond);
