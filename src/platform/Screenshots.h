#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quillon::platform {

/// Where the desktop's screenshot tool saves its captures, and news of files
/// that appear there.
class Screenshots {
public:
    virtual ~Screenshots() = default;

    /// The folder the screenshot tool is set to save into, as its settings
    /// name it (may begin with "~" or be relative); none when no tool's
    /// settings name one.
    virtual std::optional<QString> configuredLocation() = 0;

    /// Reports each file of `folder` once it is complete: closed after
    /// writing, or renamed into the folder. A folder that does not exist yet
    /// is waited for; files it holds when it appears are reported too.
    /// Replaces an earlier watch. False when nothing can be watched.
    virtual bool watch(const QString& folder, std::function<void(const QString& path)> onFile) = 0;
    virtual void unwatch() = 0;
};

} // namespace quillon::platform
