#pragma once

#include "platform/KeyFlags.h"

namespace quillon {

/// Synthetic key strokes posted on the application's behalf, above all the
/// paste stroke of the clipboard and snippet features. Key taps recognise
/// them as the application's own and let them pass.
class SyntheticPaste {
public:
    SyntheticPaste() = delete;

    /// The V key.
    static constexpr int vKey = 9;

    /// Posts one stroke of a virtual key with exactly these flags: its press
    /// and its release, or nothing at all. Codes outside 0…65535 are refused.
    /// True when the stroke was posted.
    static bool postKey(int keyCode, platform::EventFlags flags);
    /// Command-V (Ctrl+V on this desktop) to the focused window.
    static bool paste();
    /// Strokes posted since the process started; tests count pastes by it.
    static int postCount();
};

} // namespace quillon
