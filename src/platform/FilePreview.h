#pragma once

#include <QStringList>

namespace quillon::platform {

/// A large look at files without opening them: one window that takes the
/// focus and shows one file at a time. Main thread.
class FilePreview {
public:
    virtual ~FilePreview() = default;

    virtual bool isVisible() const = 0;
    /// Shows the files, the first one first; the arrow keys step through
    /// them and Escape closes the window. The list is fixed until the next
    /// `show`. Nothing happens for an empty list.
    virtual void show(const QStringList& paths) = 0;
    virtual void hide() = 0;
};

} // namespace quillon::platform
