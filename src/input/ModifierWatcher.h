#pragma once

#include "input/OwnerHandlers.h"
#include "platform/KeyFlags.h"

#include <functional>
#include <optional>

namespace quillon {

/// The shared listener for modifier-key changes. The desktop's key stream is
/// opened by the first listener and closed when the last one leaves, so an
/// idle application listens to nothing.
class ModifierWatcher {
public:
    using Handler = std::function<void(platform::EventFlags)>;

    ModifierWatcher() = default;
    ~ModifierWatcher();
    ModifierWatcher(const ModifierWatcher&) = delete;
    ModifierWatcher& operator=(const ModifierWatcher&) = delete;

    /// Stores the handler under the owner (replacing an earlier one) and
    /// starts listening. Handlers must not depend on one another's order.
    void add(const void* owner, Handler handler);
    /// Drops the owner's handler; the last one to leave stops the listening.
    void remove(const void* owner);

    bool isRunning() const { return m_tap.has_value(); }

private:
    void start();
    void stop();

    std::optional<int> m_tap;
    OwnerHandlers<platform::EventFlags> m_handlers;
};

} // namespace quillon
