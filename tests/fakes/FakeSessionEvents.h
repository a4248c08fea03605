#pragma once

#include "platform/Observers.h"
#include "platform/SessionEvents.h"

namespace quillon::fakes {

/// Notices the test sends.
class FakeSessionEvents final : public platform::SessionEvents {
public:
    int addHandler(std::function<void(platform::SessionNotice)> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeHandler(int token) override { m_handlers.remove(token); }
    void send(platform::SessionNotice notice) { m_handlers.notify(notice); }
    bool hasHandlers() const { return !m_handlers.empty(); }

private:
    platform::Observers<platform::SessionNotice> m_handlers;
};

} // namespace quillon::fakes
