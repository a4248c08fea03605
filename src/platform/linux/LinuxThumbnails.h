#pragma once

#include "platform/Thumbnails.h"

#include <QHash>
#include <atomic>
#include <memory>

namespace quillon::platform {

/// Previews decoded on the task pool: images through Qt's image readers at the
/// card's size, HEIC through libheif, a PDF's first page through poppler.
class LinuxThumbnails final : public Thumbnails {
public:
    int request(const QString& path, const QSize& pixelSize,
                std::function<void(const QImage&)> done) override;
    void cancel(int id) override;

    /// The preview itself, on the calling thread; null when there is none.
    static QImage make(const QString& path, const QSize& pixelSize);

private:
    int m_lastId = 0;
    QHash<int, std::shared_ptr<std::atomic<bool>>> m_live;
};

} // namespace quillon::platform
