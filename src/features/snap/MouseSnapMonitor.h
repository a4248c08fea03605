#pragma once

#include "features/snap/SnapPosition.h"

#include <functional>
#include <optional>

namespace quillon {

/// The snap dial: opened at the pointer while the snap chord is held, it
/// selects the position in the pointer's direction.
class MouseSnapMonitor {
public:
    MouseSnapMonitor() = default;
    ~MouseSnapMonitor();
    MouseSnapMonitor(const MouseSnapMonitor&) = delete;
    MouseSnapMonitor& operator=(const MouseSnapMonitor&) = delete;

    std::function<void(SnapPosition)> onSnap;

    /// Opens the dial at the pointer; nothing while it is open.
    void begin();
    /// Applies the selected segment, if any.
    void end();
    /// Closes the dial without applying anything.
    void cleanup();

    bool isOpen() const { return m_open; }
    std::optional<SnapPosition> pendingSector() const { return m_pendingSector; }

private:
    bool m_open = false;
    std::optional<SnapPosition> m_pendingSector;
};

} // namespace quillon
