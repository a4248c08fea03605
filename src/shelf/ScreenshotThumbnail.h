#pragma once

namespace quillon {

/// Switches the screenshot tool's floating thumbnail off while the shelf
/// collects screenshots, and gives the preference back when the shelf no
/// longer needs it. A marker in the root store remembers across launches
/// (and crashes) that we owe the restoration.
class ScreenshotThumbnail {
public:
    ScreenshotThumbnail() = delete;

    static void apply(bool suppress);
    static void restore();
    /// Whether this process switched the thumbnail off, or adopted a holding
    /// of an earlier run.
    static bool claimedHere() { return s_claimedHere; }
    /// Forgets the claim, as a new process starts without one.
    static void forgetClaim() { s_claimedHere = false; }

private:
    static inline bool s_claimedHere = false;
};

} // namespace quillon
