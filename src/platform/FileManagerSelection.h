#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace quillon::platform {

/// What the person has picked in the file manager, for the shelf chord.
/// Main thread.
class FileManagerSelection {
public:
    struct Answer {
        /// Local files; empty when nothing is picked.
        QList<QUrl> files;
        /// Why the selection could not be read; none when it was read.
        std::optional<QString> error;
    };

    virtual ~FileManagerSelection() = default;
    /// Whether the default file manager is the frontmost application: only
    /// then is there a selection to read.
    virtual bool isFrontmost() = 0;
    /// Reads the selection without waiting: `done` runs on the main thread
    /// on a later turn.
    virtual void read(std::function<void(Answer)> done) = 0;
};

} // namespace quillon::platform
