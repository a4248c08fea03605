#include "platform/linux/MprisPlayerSet.h"

namespace quillon::platform::linux_ {

namespace {
const QString kPlaying = QStringLiteral("Playing");
const QString kStopped = QStringLiteral("Stopped");
} // namespace

std::optional<PlayerNotification> MprisPlayerSet::update(const QString& owner, const QString& service,
                                                         const Update& update)
{
    Player& player = m_players[owner];
    player.service = service;
    if (update.status) {
        if (*update.status == kPlaying && player.status != kPlaying)
            player.startedAt = ++m_clock;
        player.status = *update.status;
    }
    if (update.title)
        player.title = *update.title;
    if (update.artist)
        player.artist = *update.artist;
    return settle();
}

std::optional<PlayerNotification> MprisPlayerSet::remove(const QString& owner)
{
    if (!m_players.erase(owner))
        return std::nullopt;
    return settle();
}

void MprisPlayerSet::clear()
{
    m_players.clear();
    m_followed.clear();
    m_shown = {};
}

const MprisPlayerSet::Player* MprisPlayerSet::playing() const
{
    const Player* latest = nullptr;
    for (const auto& [owner, player] : m_players) {
        if (player.status == kPlaying && (!latest || player.startedAt > latest->startedAt))
            latest = &player;
    }
    return latest;
}

std::optional<PlayerNotification> MprisPlayerSet::settle()
{
    Shown now;
    if (const Player* player = playing()) {
        for (const auto& [owner, p] : m_players) {
            if (&p == player)
                m_followed = owner;
        }
        now = {true, player->title, player->artist};
    }
    if (now == m_shown)
        return std::nullopt;
    m_shown = now;
    if (!now.playing) {
        // The state of the player that stopped; one that left has stopped.
        QString status = kStopped;
        if (const auto it = m_players.find(m_followed); it != m_players.end() && !it->second.status.isEmpty())
            status = it->second.status;
        return PlayerNotification{status, QString(), QString()};
    }
    return PlayerNotification{kPlaying, now.title, now.artist};
}

std::optional<QString> MprisPlayerSet::keyTarget() const
{
    if (const Player* player = playing())
        return player->service;
    if (const auto it = m_players.find(m_followed); it != m_players.end())
        return it->second.service;
    std::map<QString, QString> statuses;
    for (const auto& [owner, player] : m_players)
        statuses[player.service] = player.status;
    return keyTargetAmong(statuses);
}

std::optional<QString> MprisPlayerSet::keyTargetAmong(const std::map<QString, QString>& statusByService)
{
    for (const QString& wanted : {kPlaying, QStringLiteral("Paused")}) {
        for (const auto& [service, status] : statusByService) {
            if (status == wanted)
                return service;
        }
    }
    return std::nullopt;
}

} // namespace quillon::platform::linux_
