// The dial's work for each pointer event: pointer events can arrive a
// thousand times a second, and a move that stays in one sector must cost
// well under a microsecond (the location is read from the fake pointer; on
// X11 it is one round trip per batch of events).
#include "fakes/FakePlatform.h"
#include "features/snap/MouseSnapMonitor.h"

#include <QApplication>
#include <benchmark/benchmark.h>

using namespace quillon;

static void BM_SnapDialSector(benchmark::State& state)
{
    double dx = 30;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MouseSnapMonitor::sector(dx, 41.5));
        dx += 1e-9;
    }
}
BENCHMARK(BM_SnapDialSector);

static void BM_SnapDialMoveWithinASector(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench";
    char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance())
        app = std::make_unique<QApplication>(argc, argv);
    fakes::FakePlatform fake;
    fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
    fake.pointerImpl.position = QPointF(700, 400);
    MouseSnapMonitor dial;
    dial.begin();
    fake.pointerImpl.moveTo(QPointF(700, 460)); // top half selected
    double y = 460;
    for (auto _ : state) {
        y = y > 470 ? 460 : y + 0.5;
        fake.pointerImpl.moveTo(QPointF(700, y));
    }
    dial.cleanup();
}
BENCHMARK(BM_SnapDialMoveWithinASector);
