#include "notch/NowPlayingChipState.h"

namespace quillon {

bool NowPlayingChipState::playback(bool playing, const QString& newTitle, const QString& newArtist)
{
    if (!playing) {
        phase = Phase::hidden;
        title.clear();
        artist.clear();
        return false;
    }
    const bool changed = newTitle != title || newArtist != artist;
    title = newTitle;
    artist = newArtist;
    if (hovering) {
        phase = Phase::controls;
        return false;
    }
    if (changed) {
        phase = Phase::expanded;
        return true;
    }
    switch (phase) {
    case Phase::expanded:
        return false;
    case Phase::hidden:
        phase = Phase::expanded;
        return true;
    case Phase::compact:
    case Phase::controls:
        phase = Phase::compact;
        return false;
    }
    return false;
}

} // namespace quillon
