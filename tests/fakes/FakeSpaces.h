#pragma once

#include "platform/Observers.h"
#include "platform/Spaces.h"

#include <map>

namespace quillon::fakes {

/// A settable snapshot and each window's Spaces; switches are recorded.
class FakeSpaces final : public platform::Spaces {
public:
    FakeSpaces() { set(true, 1, 4); }

    std::shared_ptr<const platform::SpacesSnapshot> snapshot() const override { return m_snapshot; }
    std::optional<std::vector<uint64_t>> spacesOfWindow(platform::WindowId window) override
    {
        const auto it = windowSpaces.find(window);
        if (!m_snapshot->available || it == windowSpaces.end())
            return std::nullopt;
        return it->second;
    }
    bool switchTo(int index) override
    {
        if (!m_snapshot->available || index < 0 || index >= m_snapshot->count)
            return false;
        switches.push_back(index);
        set(true, uint64_t(index) + 1, m_snapshot->count);
        return true;
    }
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

    /// Publishes a new snapshot and tells the handlers.
    void set(bool available, uint64_t activeSpace, int count,
             const QString& reason = QStringLiteral("window manager does not report workspaces"))
    {
        auto next = std::make_shared<platform::SpacesSnapshot>();
        next->available = available;
        next->activeSpace = available ? activeSpace : 0;
        next->count = available ? count : 0;
        next->reason = available ? QString() : reason;
        m_snapshot = std::move(next);
        m_handlers.notify();
    }

    std::map<platform::WindowId, std::vector<uint64_t>> windowSpaces;
    std::vector<int> switches;

private:
    std::shared_ptr<const platform::SpacesSnapshot> m_snapshot;
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
