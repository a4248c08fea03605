#include "platform/linux/LinuxThumbnails.h"

#include "platform/Platform.h"
#include "shelf/HeifImage.h"

#include <QFileInfo>
#include <QImageReader>
#include <poppler-qt6.h>

namespace quillon::platform {

namespace {

// The size that covers `box` with `size`'s proportions.
QSize fillSize(const QSize& size, const QSize& box)
{
    if (size.isEmpty())
        return box;
    return size.scaled(box, Qt::KeepAspectRatioByExpanding);
}

QImage fitted(const QImage& image, const QSize& box)
{
    if (image.isNull())
        return {};
    return image.scaled(fillSize(image.size(), box), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage pdfPage(const QString& path, const QSize& box)
{
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document || document->isLocked() || document->numPages() < 1)
        return {};
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page)
        return {};
    const QSizeF points = page->pageSizeF();
    if (points.isEmpty())
        return {};
    // Render at the resolution that makes the page cover the box.
    const QSize target = fillSize(points.toSize().expandedTo(QSize(1, 1)), box);
    const double dpi = 72.0 * std::max(target.width() / points.width(), target.height() / points.height());
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return page->renderToImage(dpi, dpi);
}

} // namespace

QImage LinuxThumbnails::make(const QString& path, const QSize& pixelSize)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "pdf")
        return pdfPage(path, pixelSize);
    if (suffix == "heic" || suffix == "heif")
        return fitted(HeifImage::read(path), pixelSize);
    QImageReader reader(path);
    if (!reader.canRead())
        return {};
    reader.setAutoTransform(true);
    // Decoding at card size keeps a huge photo from ever being held whole.
    const QSize size = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
                           ? reader.size().transposed()
                           : reader.size();
    if (size.isValid() && !size.isEmpty()) {
        QSize scaled = fillSize(size, pixelSize);
        if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90))
            scaled.transpose();
        reader.setScaledSize(scaled);
    }
    const QImage image = reader.read();
    return image.isNull() ? QImage() : fitted(image, pixelSize);
}

int LinuxThumbnails::request(const QString& path, const QSize& pixelSize,
                             std::function<void(const QImage&)> done)
{
    const int id = ++m_lastId;
    auto live = std::make_shared<std::atomic<bool>>(true);
    m_live.insert(id, live);
    auto result = std::make_shared<QImage>();
    platform().tasks().run(
        [path, pixelSize, result, live] {
            if (*live)
                *result = make(path, pixelSize);
        },
        [this, id, live, result, done = std::move(done)] {
            if (!*live)
                return;
            m_live.remove(id);
            done(*result);
        });
    return id;
}

void LinuxThumbnails::cancel(int id)
{
    if (const auto live = m_live.take(id))
        *live = false;
}

} // namespace quillon::platform
