#pragma once

#include <array>
#include <optional>

namespace quillon {

/// A place in the notch's fixed priority order; a higher value wins.
enum class NotchSource {
    nowPlaying = 0,
    shelfBridge = 1,
    liveChip = 2,
    chip = 3,
    shelfCue = 4,
    hints = 5,
};

inline constexpr std::array<NotchSource, 6> allNotchSources{NotchSource::nowPlaying, NotchSource::shelfBridge,
                                                            NotchSource::liveChip,   NotchSource::chip,
                                                            NotchSource::shelfCue,   NotchSource::hints};

constexpr int rawValue(NotchSource source) { return int(source); }

/// 0 through 5; nothing for any other value.
constexpr std::optional<NotchSource> notchSourceFromRaw(int raw)
{
    if (raw < 0 || raw > 5)
        return std::nullopt;
    return NotchSource(raw);
}

/// An exclusive use of the notch: while one stands, no source shows.
enum class NotchTakeover {
    shelfExpanded,
    ocrPrompt,
};

inline constexpr std::array<NotchTakeover, 2> allNotchTakeovers{NotchTakeover::shelfExpanded,
                                                                NotchTakeover::ocrPrompt};

} // namespace quillon
