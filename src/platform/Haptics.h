#pragma once

namespace quillon::platform {

/// Touch feedback of the pointing device. Main thread.
class Haptics {
public:
    virtual ~Haptics() = default;
    /// The generic feedback pattern.
    virtual void perform() = 0;
};

} // namespace quillon::platform
