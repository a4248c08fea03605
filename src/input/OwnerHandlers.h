#pragma once

#include <functional>
#include <unordered_map>

namespace quillon {

/// Handlers keyed by their owner's identity, as the shared event sources keep
/// them. Notifies a snapshot, so a handler may add or remove owners (itself
/// included) while it runs; the order is unspecified.
template <typename... Args>
class OwnerHandlers {
public:
    using Handler = std::function<void(Args...)>;

    /// Stores (or replaces) the owner's handler.
    void set(const void* owner, Handler handler) { m_handlers[owner] = std::move(handler); }
    void remove(const void* owner) { m_handlers.erase(owner); }
    bool empty() const { return m_handlers.empty(); }
    std::size_t size() const { return m_handlers.size(); }

    void notify(Args... args) const
    {
        const auto snapshot = m_handlers;
        for (const auto& [owner, handler] : snapshot) {
            if (m_handlers.count(owner))
                handler(args...);
        }
    }

private:
    std::unordered_map<const void*, Handler> m_handlers;
};

} // namespace quillon
