#pragma once

#include "platform/Observers.h"
#include "platform/ShareService.h"

#include <vector>

namespace quillon::fakes {

/// A share service whose availability the test switches; what it sends is
/// recorded.
class FakeShareService final : public platform::ShareService {
public:
    bool isAvailable() const override { return available; }
    int addAvailabilityHandler(std::function<void(bool)> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeAvailabilityHandler(int token) override { m_handlers.remove(token); }
    void send(const QStringList& paths) override
    {
        if (available && !paths.isEmpty())
            sent.push_back(paths);
    }

    /// Switches availability and tells the handlers when it changed.
    void setAvailable(bool value)
    {
        if (value == available)
            return;
        available = value;
        m_handlers.notify(value);
    }

    bool available = false;
    std::vector<QStringList> sent;

private:
    platform::Observers<bool> m_handlers;
};

} // namespace quillon::fakes
