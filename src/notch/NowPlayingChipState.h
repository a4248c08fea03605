#pragma once

#include <QString>

namespace quillon {

/// The now-playing chip: how much it shows of the track, and the track.
struct NowPlayingChipState {
    enum class Phase {
        /// Nothing plays: no chip.
        hidden,
        /// A note and the wave.
        compact,
        /// The note, the wave and the track under the notch.
        expanded,
        /// Previous, play-pause and next buttons while the pointer rests on it.
        controls,
    };

    Phase phase = Phase::hidden;
    QString title;
    QString artist;
    bool hovering = false;

    bool operator==(const NowPlayingChipState&) const = default;
};

} // namespace quillon
