#pragma once

namespace quillon::platform {

/// The desktop's accessibility setting for motion.
class MotionPreference {
public:
    virtual ~MotionPreference() = default;
    /// The person asked for less motion (animations switched off). False where
    /// the desktop does not say.
    virtual bool reduceMotion() const = 0;
};

} // namespace quillon::platform
