#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// A mounted filesystem.
struct Volume {
    QString mountPoint;
    /// The system asks that it not be shown to the user.
    bool hidden = false;
    /// It belongs to the computer itself; none when that is not known.
    std::optional<bool> internal;
};

/// The mounted filesystems and their mount and unmount notices.
class Volumes {
public:
    virtual ~Volumes() = default;

    /// What is mounted now, as last learnt; never waits.
    virtual std::vector<Volume> mounted() = 0;
    /// Tells `handler`, on the main thread, whenever something was mounted or
    /// unmounted. None when the volumes cannot be watched.
    virtual std::optional<int> addChangeHandler(std::function<void()> handler) = 0;
    virtual void removeChangeHandler(int token) = 0;
};

} // namespace quillon::platform
