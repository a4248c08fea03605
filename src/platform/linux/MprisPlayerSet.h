#pragma once

#include "platform/NowPlaying.h"

#include <QString>
#include <map>
#include <optional>

namespace quillon::platform::linux_ {

/// The MPRIS players of the session and which one the music follows: the one
/// that most recently started playing; when it stops or leaves while another
/// still plays, that one; when none plays, the last one followed, stopped.
/// Plain bookkeeping: each change answers the notification to send when what
/// the followed player shows changed.
class MprisPlayerSet {
public:
    /// What a player told, by its unique bus name (`owner`); `service` is its
    /// well-known name. Unknown fields stay as they were.
    struct Update {
        std::optional<QString> status;
        std::optional<QString> title;
        std::optional<QString> artist;
    };

    std::optional<PlayerNotification> update(const QString& owner, const QString& service,
                                             const Update& update);
    /// The player left the bus.
    std::optional<PlayerNotification> remove(const QString& owner);
    bool contains(const QString& owner) const { return m_players.count(owner) > 0; }
    void clear();

    /// Where the media keys go: the player that played last (the one playing,
    /// else the last one followed), else one that is paused; never a player
    /// that is merely stopped. Its well-known name.
    std::optional<QString> keyTarget() const;
    /// Among players by well-known name and PlaybackStatus, unwatched: one
    /// that plays, else one that is paused.
    static std::optional<QString> keyTargetAmong(const std::map<QString, QString>& statusByService);

private:
    struct Player {
        QString service;
        QString status;
        QString title;
        QString artist;
        /// When it last started playing, in updates counted.
        quint64 startedAt = 0;
    };
    struct Shown {
        bool playing = false;
        QString title;
        QString artist;
        bool operator==(const Shown&) const = default;
    };

    const Player* playing() const;
    std::optional<PlayerNotification> settle();

    std::map<QString, Player> m_players;
    /// The player last followed, for the keys once nothing plays.
    QString m_followed;
    Shown m_shown;
    quint64 m_clock = 0;
};

} // namespace quillon::platform::linux_
