#include "notch/NowPlayingWatcher.h"

#include "platform/Platform.h"

namespace quillon {

NowPlayingWatcher::~NowPlayingWatcher()
{
    if (m_token && platform::hasPlatform())
        platform::platform().nowPlaying().removeHandler(*m_token);
}

void NowPlayingWatcher::start()
{
    if (m_token)
        return;
    m_token = platform::platform().nowPlaying().addHandler(
        [this](const platform::PlayerNotification& notification) { handle(notification); });
}

void NowPlayingWatcher::stop()
{
    if (!m_token)
        return;
    platform::platform().nowPlaying().removeHandler(*m_token);
    m_token.reset();
}

void NowPlayingWatcher::handle(const platform::PlayerNotification& notification)
{
    const QString title = notification.name.value_or(QString());
    const bool playing = notification.playerState == QLatin1String("Playing");
    if (playing && title.isEmpty())
        return;
    if (onState)
        onState(playing, title, notification.artist.value_or(QString()));
}

} // namespace quillon
