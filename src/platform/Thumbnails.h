#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>

namespace quillon::platform {

/// Small previews of files for the shelf's cards: an image scaled to fill the
/// asked size, a PDF's first page. The work runs off the main thread; the
/// answer comes back on it.
class Thumbnails {
public:
    virtual ~Thumbnails() = default;

    /// Asks for the preview of `path` at `pixelSize` (aspect fill). `done` runs
    /// on the main thread with the image, or with a null image when the file
    /// has no preview (an unknown type, a corrupt or vanished file). Answers an
    /// id for `cancel`.
    virtual int request(const QString& path, const QSize& pixelSize,
                        std::function<void(const QImage&)> done) = 0;
    /// Drops a request: its `done` never runs.
    virtual void cancel(int id) = 0;
};

} // namespace quillon::platform
