// The blur and tint of a 3840 × 2160 capture for the break screen's
// backdrop: it runs as a break begins, so it must stay well under 50 ms.
#include "features/breaks/BreakBackdrop.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

void BM_BreakBackdropOf4K(benchmark::State& state)
{
    const QSize size(3840, 2160);
    QImage capture(size, QImage::Format_RGB32);
    QPainter painter(&capture);
    painter.fillRect(capture.rect(), QColor(40, 90, 160));
    for (int i = 0; i < 40; ++i)
        painter.fillRect(QRect(i * 96, (i * 53) % 2000, 300, 160), QColor(240, 240, 235));
    painter.end();
    for (auto _ : state) {
        QImage backdrop = quillon::BreakBackdrop::make(capture, size);
        benchmark::DoNotOptimize(backdrop);
    }
}
BENCHMARK(BM_BreakBackdropOf4K)->Unit(benchmark::kMillisecond);

} // namespace
