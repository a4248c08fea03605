#include "notch/MediaKey.h"

#include "platform/Platform.h"

namespace quillon {

std::optional<MediaKey> MediaKey::from(QChar leaderKey)
{
    switch (leaderKey.unicode()) {
    case u',':
        return MediaKey::previous;
    case u'/':
        return MediaKey::playPause;
    case u'.':
        return MediaKey::next;
    default:
        return std::nullopt;
    }
}

void MediaKey::post() const
{
    using Key = platform::MediaKeys::Key;
    Key key = Key::playPause;
    switch (m_case) {
    case previous:
        key = Key::previous;
        break;
    case playPause:
        key = Key::playPause;
        break;
    case next:
        key = Key::next;
        break;
    }
    platform::platform().mediaKeys().post(key);
}

} // namespace quillon
