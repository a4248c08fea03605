#pragma once

#include <QImage>
#include <QString>

namespace quillon {

/// HEIC/HEIF files through libheif: Qt reads and writes neither.
class HeifImage {
public:
    HeifImage() = delete;

    /// The primary image with its rotation and mirroring applied; a null image
    /// when the file does not decode or would take more memory than Qt's image
    /// allocation limit allows.
    static QImage read(const QString& path);
    /// Encodes as HEVC at `quality` (0–100); false when no encoder is present
    /// or the file cannot be written.
    static bool write(const QImage& image, const QString& path, int quality);
};

} // namespace quillon
