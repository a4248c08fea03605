#pragma once

// What the tests of the open shelf's widgets share: items, a fresh fake
// platform and an empty preview cache per test, and rendering.

#include "fakes/FakePlatform.h"
#include "shelf/ShelfStore.h"
#include "shelf/ThumbnailCache.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace quillon::testing {

inline ShelfItem itemOf(const QStringList& paths)
{
    ShelfItem item;
    item.id = QUuid::createUuid();
    for (const QString& path : paths)
        item.urls.append(QUrl::fromLocalFile(path));
    return item;
}

class ShelfWidgets : public ::testing::Test {
protected:
    ShelfWidgets() { ThumbnailCache::shared().clear(); }
    ~ShelfWidgets() override { ThumbnailCache::shared().clear(); }

    QImage render(QWidget& widget)
    {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    fakes::FakePlatform fake;
    fakes::FakeThumbnails& thumbnails = fake.thumbnailsImpl;
};

} // namespace quillon::testing
