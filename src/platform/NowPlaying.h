#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace quillon::platform {

/// What a music player says when its playback changes: its state ("Playing",
/// "Paused", "Stopped") and the track. A field the player did not give is
/// empty.
struct PlayerNotification {
    std::optional<QString> playerState;
    std::optional<QString> name;
    std::optional<QString> artist;
};

/// The music players of the session, seen as one: a notification tells of
/// the player the music follows (the one that most recently started playing
/// and still plays; when none plays, the one that stopped last).
class NowPlaying {
public:
    virtual ~NowPlaying() = default;

    /// Tells `handler`, on the main thread, of every playback change from now
    /// on. The first handler starts watching the players.
    virtual int addHandler(std::function<void(const PlayerNotification&)> handler) = 0;
    /// The last handler gone stops watching.
    virtual void removeHandler(int token) = 0;
};

/// The media keys: previous, play-pause and next, for whatever plays.
class MediaKeys {
public:
    enum class Key { previous, playPause, next };

    virtual ~MediaKeys() = default;

    /// Sends the key to the player the music follows, or to the desktop when
    /// no player takes it.
    virtual void post(Key key) = 0;
};

} // namespace quillon::platform
