#pragma once

#include <QChar>
#include <optional>

namespace quillon {

/// The media keys the now-playing chip and the command leader send. Use it
/// like an enum (`MediaKey::next`).
class MediaKey {
public:
    enum Case { previous, playPause, next };

    constexpr MediaKey(Case value)
        : m_case(value)
    {
    }
    constexpr operator Case() const { return m_case; }

    /// "," previous, "/" play-pause, "." next; none for any other key.
    static std::optional<MediaKey> from(QChar leaderKey);

    /// Sends the key to what plays.
    void post() const;

private:
    Case m_case;
};

} // namespace quillon
