#pragma once

#include <QStringList>
#include <functional>

namespace quillon::platform {

/// Sends files to a nearby device of the person's. Main thread; nothing
/// waits for the device.
class ShareService {
public:
    virtual ~ShareService() = default;

    /// A device can take files now.
    virtual bool isAvailable() const = 0;
    /// Told the new availability whenever it changes.
    virtual int addAvailabilityHandler(std::function<void(bool available)> handler) = 0;
    virtual void removeAvailabilityHandler(int token) = 0;
    /// Sends each file; nothing when no device can take them.
    virtual void send(const QStringList& paths) = 0;
};

} // namespace quillon::platform
