#pragma once

#include "platform/FilePromises.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace quillon {

namespace platform {
class DragProbe;
}

/// What a drag carries, read once from a drop's data or from the probe of a
/// drag under way, in the shape the shelf intake works on: items, each with
/// a file or image data, and the promise receivers.
struct DragData {
    struct Item {
        std::optional<QUrl> fileUrl;
        /// The content type a promise names for its file.
        std::optional<QString> promisedContentType;
        /// Image data by MIME type.
        QHash<QString, QByteArray> data;
    };

    /// The types the drag offers, as its source names them.
    QStringList types;
    /// Local files, in the drag's order (readable or not).
    QList<QUrl> fileUrls;
    /// The drag carries files whose names and types cannot be seen yet.
    bool filesOfUnknownTypes = false;
    /// The drag names the places of promised files (never on Linux).
    bool promisedFileUrls = false;
    std::vector<Item> items;
    std::vector<std::shared_ptr<platform::FilePromiseReceiver>> receivers;

    /// A drop's data: its local files, its image data (PNG, JPEG, PDF and
    /// TIFF) and the platform's promise receivers for it.
    static DragData fromMimeData(const QMimeData& mime);
    /// A drag under way, as the probe sees it.
    static DragData fromProbe(platform::DragProbe& probe);
};

} // namespace quillon
