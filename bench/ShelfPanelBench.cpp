// The open shelf's costs: painting a row of six cards whose previews are
// cached (budget 2 ms), and one preview of a 24-megapixel JPEG, made off the
// main thread (budget 60 ms).

#include "OffscreenApp.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/LinuxThumbnails.h"
#include "shelf/CellsView.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ThumbnailCache.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>

using namespace quillon;

using bench::ensureApp;

static void BM_ShelfPaintSixCachedCards(benchmark::State& state)
{
    const auto app = ensureApp();
    fakes::FakePlatform fake;
    QList<ShelfItem> items;
    QImage preview(88, 108, QImage::Format_ARGB32_Premultiplied);
    preview.fill(QColor(40, 120, 200));
    for (int i = 0; i < 6; ++i) {
        ShelfItem item;
        item.id = QUuid::createUuid();
        item.urls = {QUrl::fromLocalFile(QString("/photos/%1.jpg").arg(i))};
        if (i % 2)
            item.urls.append(QUrl::fromLocalFile(QString("/photos/%1b.jpg").arg(i)));
        ThumbnailCache::shared().remember(preview, item.urls.front());
        items.append(item);
    }
    CellsView cells(items);
    cells.resize(int(ShelfLayout::cardsWidth(6)), 96);
    QImage target(cells.size() * 2, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    for (auto _ : state) {
        target.fill(Qt::black);
        cells.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
    ThumbnailCache::shared().clear();
}
BENCHMARK(BM_ShelfPaintSixCachedCards)->Unit(benchmark::kMillisecond);

static void BM_ShelfPreviewOf24MegapixelJpeg(benchmark::State& state)
{
    const auto app = ensureApp();
    QTemporaryDir dir;
    const QString path = dir.filePath("big.jpg");
    QImage big(6000, 4000, QImage::Format_RGB32);
    QPainter painter(&big);
    painter.fillRect(big.rect(), QLinearGradient(0, 0, 6000, 4000));
    painter.end();
    big.save(path, "JPG", 90);
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::LinuxThumbnails::make(path, QSize(88, 108)));
}
BENCHMARK(BM_ShelfPreviewOf24MegapixelJpeg)->Unit(benchmark::kMillisecond);
