#pragma once

#include <QString>
#include <QStringList>

namespace quillon::platform {

/// Extended attributes of files: what a browser or mail client notes on a
/// download (where it came from, that it is untrusted).
class XAttr {
public:
    virtual ~XAttr() = default;
    /// The attribute names a file carries; none when it cannot be read.
    virtual QStringList names(const QString& path) const = 0;
    /// Removes one attribute; false when the file did not carry it or the
    /// file system refused.
    virtual bool remove(const QString& path, const QString& name) = 0;
};

} // namespace quillon::platform
