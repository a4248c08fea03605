#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMimeData;

namespace quillon::platform {

/// Files a drag source only promises: it writes them when the drop target
/// names a folder.
class FilePromiseReceiver {
public:
    /// Called once per promised file, on a thread of the receiver's own:
    /// the file's path and, when it failed, why.
    using Reader = std::function<void(const QString& path, const std::optional<QString>& error)>;

    virtual ~FilePromiseReceiver() = default;
    /// The content types of the promised files (may be fewer than the files).
    virtual QStringList fileTypes() const = 0;
    /// The names the files will have, where the source tells them.
    virtual QStringList fileNames() const = 0;
    /// Asks the source to write its files into `folder`. Returns at once.
    virtual void receive(const QString& folder, Reader reader) = 0;
};

/// Finds the promise receivers of a drop.
class FilePromises {
public:
    virtual ~FilePromises() = default;
    /// The drop types that can carry promises.
    virtual QStringList readableTypes() const = 0;
    /// One receiver per promising item of the drop; none when it promises
    /// nothing.
    virtual std::vector<std::shared_ptr<FilePromiseReceiver>> receivers(const QMimeData& data) = 0;
};

} // namespace quillon::platform
