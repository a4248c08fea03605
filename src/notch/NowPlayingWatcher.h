#pragma once

#include "platform/NowPlaying.h"

#include <QString>
#include <functional>
#include <optional>

namespace quillon {

/// Listens to the music players and reports what plays: playing or not, the
/// title and the artist.
class NowPlayingWatcher {
public:
    NowPlayingWatcher() = default;
    ~NowPlayingWatcher();
    NowPlayingWatcher(const NowPlayingWatcher&) = delete;
    NowPlayingWatcher& operator=(const NowPlayingWatcher&) = delete;

    std::function<void(bool playing, const QString& title, const QString& artist)> onState;

    /// Starts listening; nothing when already listening.
    void start();
    void stop();
    bool isRunning() const { return m_token.has_value(); }

    /// One player notification. Playing needs a title: a playing notice
    /// without one is ignored, so the chip keeps what it shows.
    void handle(const platform::PlayerNotification& notification);

private:
    std::optional<int> m_token;
};

} // namespace quillon
