#pragma once

#include <functional>
#include <map>

namespace quillon::platform {

/// A list of handlers keyed by a token. Notifies a snapshot, so a handler may
/// add or remove handlers (itself included) while it runs.
template <typename... Args>
class Observers {
public:
    using Handler = std::function<void(Args...)>;

    int add(Handler handler)
    {
        const int token = ++m_last;
        m_handlers.emplace(token, std::move(handler));
        return token;
    }
    void remove(int token) { m_handlers.erase(token); }
    bool empty() const { return m_handlers.empty(); }
    std::size_t size() const { return m_handlers.size(); }

    void notify(Args... args) const
    {
        const auto snapshot = m_handlers;
        for (const auto& [token, handler] : snapshot) {
            if (m_handlers.count(token))
                handler(args...);
        }
    }

private:
    std::map<int, Handler> m_handlers;
    int m_last = 0;
};

} // namespace quillon::platform
