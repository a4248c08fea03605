#pragma once

namespace quillon {

/// A right-hand modifier (or combination) held while a key is pressed to
/// trigger an action anywhere on the desktop. No leader is an empty optional.
enum class Leader {
    /// Right Command held.
    command,
    /// Right Option held.
    option,
    /// Right Command held together with either Option key.
    feature,
};

} // namespace quillon
