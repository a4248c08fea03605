#pragma once

#include "platform/NowPlaying.h"
#include "platform/Observers.h"
#include "platform/linux/MprisPlayerSet.h"

#include <QDBusMessage>
#include <QObject>

namespace quillon::platform::linux_ {

/// The MPRIS players on the session bus (org.mpris.MediaPlayer2.*): their
/// PlaybackStatus and Metadata, followed through PropertiesChanged and the
/// players coming and going. The media keys are the players' own PlayPause,
/// Next and Previous; where no player takes one, `keyboardKey` posts the
/// keyboard's media key instead.
class MprisNowPlaying final : public QObject, public NowPlaying, public MediaKeys {
    Q_OBJECT
public:
    explicit MprisNowPlaying(std::function<bool(Key)> keyboardKey = {});
    ~MprisNowPlaying() override;

    int addHandler(std::function<void(const PlayerNotification&)> handler) override;
    void removeHandler(int token) override;
    void post(Key key) override;

private slots:
    void nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void propertiesChanged(const QDBusMessage& message);

private:
    void startWatching();
    void stopWatching();
    /// Reads every property of the player and takes it in.
    void readPlayer(const QString& service);
    void take(const QString& owner, const QString& service, const QVariantMap& properties);
    void send(const std::optional<PlayerNotification>& notification);
    void call(const QString& service, Key key);
    /// Sends the key to one of these players, by their playback.
    void postAmong(const QStringList& players, Key key);
    /// No player took the key.
    void unanswered(Key key);

    std::function<bool(Key)> m_keyboardKey;
    Observers<const PlayerNotification&> m_handlers;
    MprisPlayerSet m_players;
    /// Well-known name by unique name, for the players being read or known.
    std::map<QString, QString> m_services;
    bool m_watching = false;
};

} // namespace quillon::platform::linux_
