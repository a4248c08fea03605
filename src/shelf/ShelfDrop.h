#pragma once

#include "shelf/DragData.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace quillon {

class PromiseWait;

/// Turns what a drag carries into local files for the shelf: file URLs,
/// promised files, or image data, in that order of preference. Keeps no state
/// between drops.
class ShelfDrop {
public:
    ShelfDrop() = delete;

    using Completion = std::function<void(const QList<QUrl>&)>;

    /// The MIME types a shelf drop target accepts.
    static QStringList draggedTypes();
    /// Whether the drag carries something that ends up as files.
    static bool carriesFiles(const DragData& drag);
    /// Whether a drop target of the shelf takes a drag offering `mime`.
    static bool offersFiles(const QMimeData* mime);
    /// One content type per item of the drag, none where it cannot be told.
    static std::vector<std::optional<QString>> draggedContentTypes(const DragData& drag);
    /// Takes a drop in. True when it will deliver files through `completion`
    /// (called once, always on the main thread; at once for plain files),
    /// false when the drop carries nothing usable.
    static bool receive(const DragData& drag, Completion completion);

private:
    struct SnapshotEntry {
        QByteArray data;
        QString name;
    };
    using Snapshot = std::vector<SnapshotEntry>;

    static std::vector<std::shared_ptr<platform::FilePromiseReceiver>> receivers(const DragData& drag);
    static QString scratchDirectory();
    static QList<QUrl> receiveCarbonPromise(const DragData& drag, const QString& folder);
    static Snapshot dataSnapshot(const DragData& drag, const QStringList& names);
    static void awaitPromises(const std::vector<std::shared_ptr<platform::FilePromiseReceiver>>& receivers,
                              const QString& folder, Snapshot snapshot, Completion completion);
    static void deliver(const PromiseWait& wait, const QString& folder, const Snapshot& snapshot,
                        const Completion& completion);
    static QList<QUrl> writeSnapshot(const Snapshot& snapshot, const QString& folder);
    static void finish(const QList<QUrl>& urls, Completion completion);
};

} // namespace quillon
