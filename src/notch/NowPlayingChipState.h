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

    /// Takes a player's news. Stopped hides the chip (the pointer stays where
    /// it was); playing shows the buttons under the pointer, else expands the
    /// chip for a new track or a chip that was hidden. True asks the owner to
    /// arm the collapse timer.
    bool playback(bool playing, const QString& newTitle, const QString& newArtist);

    bool operator==(const NowPlayingChipState&) const = default;
};

} // namespace quillon
