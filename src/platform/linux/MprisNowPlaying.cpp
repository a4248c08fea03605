#include "platform/linux/MprisNowPlaying.h"

#include "platform/linux/DBusValues.h"
#include "support/Log.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace quillon::platform::linux_ {

namespace {

const QString kPrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kBus = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");

QDBusConnection bus()
{
    return QDBusConnection::sessionBus();
}

/// Calls asynchronously; `done` gets the reply (an error reply on failure).
void callAsync(QObject* context, const QDBusMessage& message, std::function<void(const QDBusMessage&)> done,
               int timeoutMs = -1)
{
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(message, timeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         done(w->reply());
                     });
}

MprisPlayerSet::Update updateFrom(const QVariantMap& properties)
{
    MprisPlayerSet::Update update;
    if (const auto it = properties.find(QStringLiteral("PlaybackStatus")); it != properties.end())
        update.status = DBusValues::plain(*it).toString();
    if (const auto it = properties.find(QStringLiteral("Metadata")); it != properties.end()) {
        const QVariantMap metadata = DBusValues::map(*it);
        update.title = DBusValues::plain(metadata.value(QStringLiteral("xesam:title"))).toString();
        // A list of artists (some players send one string, which reads as a list of one).
        update.artist = DBusValues::plain(metadata.value(QStringLiteral("xesam:artist")))
                            .toStringList()
                            .join(QStringLiteral(", "));
    }
    return update;
}

QString methodOf(MediaKeys::Key key)
{
    switch (key) {
    case MediaKeys::Key::previous:
        return QStringLiteral("Previous");
    case MediaKeys::Key::playPause:
        return QStringLiteral("PlayPause");
    case MediaKeys::Key::next:
        return QStringLiteral("Next");
    }
    return {};
}

} // namespace

MprisNowPlaying::MprisNowPlaying(std::function<bool(Key)> keyboardKey)
    : m_keyboardKey(std::move(keyboardKey))
{
}

MprisNowPlaying::~MprisNowPlaying()
{
    stopWatching();
}

int MprisNowPlaying::addHandler(std::function<void(const PlayerNotification&)> handler)
{
    const int token = m_handlers.add(std::move(handler));
    startWatching();
    return token;
}

void MprisNowPlaying::removeHandler(int token)
{
    m_handlers.remove(token);
    if (m_handlers.empty())
        stopWatching();
}

// Signals first, then the players already there: a player that changes
// between the two is read again by its own signal.
void MprisNowPlaying::startWatching()
{
    if (m_watching || !bus().isConnected())
        return;
    m_watching = true;
    bus().connect(kBus, kBusPath, kBus, QStringLiteral("NameOwnerChanged"), this,
                  SLOT(nameOwnerChanged(QString, QString, QString)));
    bus().connect(QString(), kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QDBusMessage)));
    callAsync(this, QDBusMessage::createMethodCall(kBus, kBusPath, kBus, QStringLiteral("ListNames")),
              [this](const QDBusMessage& reply) {
                  if (!m_watching || reply.type() != QDBusMessage::ReplyMessage ||
                      reply.arguments().isEmpty())
                      return;
                  for (const QString& name : reply.arguments().constFirst().toStringList()) {
                      if (name.startsWith(kPrefix))
                          readPlayer(name);
                  }
              });
}

void MprisNowPlaying::stopWatching()
{
    if (!m_watching)
        return;
    m_watching = false;
    bus().disconnect(kBus, kBusPath, kBus, QStringLiteral("NameOwnerChanged"), this,
                     SLOT(nameOwnerChanged(QString, QString, QString)));
    bus().disconnect(QString(), kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(propertiesChanged(QDBusMessage)));
    m_players.clear();
    m_services.clear();
}

void MprisNowPlaying::readPlayer(const QString& service)
{
    QDBusMessage getAll =
        QDBusMessage::createMethodCall(service, kPath, kProperties, QStringLiteral("GetAll"));
    getAll << kPlayer;
    callAsync(this, getAll, [this, service](const QDBusMessage& reply) {
        if (!m_watching || reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return;
        // The reply comes from the player's unique name, the sender of its signals.
        take(reply.service(), service, DBusValues::map(reply.arguments().constFirst()));
    });
}

void MprisNowPlaying::take(const QString& owner, const QString& service, const QVariantMap& properties)
{
    m_services[owner] = service;
    send(m_players.update(owner, service, updateFrom(properties)));
}

void MprisNowPlaying::nameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    if (!name.startsWith(kPrefix))
        return;
    if (!oldOwner.isEmpty()) {
        m_services.erase(oldOwner);
        send(m_players.remove(oldOwner));
    }
    if (!newOwner.isEmpty())
        readPlayer(name);
}

void MprisNowPlaying::propertiesChanged(const QDBusMessage& message)
{
    const QVariantList args = message.arguments();
    if (args.size() < 2 || args[0].toString() != kPlayer)
        return;
    const auto it = m_services.find(message.service());
    // A player not read yet is taken in whole when its reading comes back.
    if (it == m_services.end())
        return;
    const QString service = it->second;
    send(m_players.update(message.service(), service, updateFrom(DBusValues::map(args[1]))));
    if (args.size() > 2 && !DBusValues::plain(args[2]).toStringList().isEmpty())
        readPlayer(service);
}

void MprisNowPlaying::send(const std::optional<PlayerNotification>& notification)
{
    if (notification)
        m_handlers.notify(*notification);
}

// The player that played last while the players are watched; otherwise one
// that plays, else one that is paused, asked of every player without waiting.
void MprisNowPlaying::post(Key key)
{
    if (m_watching) {
        if (const auto target = m_players.keyTarget())
            call(*target, key);
        else
            unanswered(key);
        return;
    }
    if (!bus().isConnected()) {
        unanswered(key);
        return;
    }
    callAsync(this, QDBusMessage::createMethodCall(kBus, kBusPath, kBus, QStringLiteral("ListNames")),
              [this, key](const QDBusMessage& reply) {
                  QStringList players;
                  if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                      for (const QString& name : reply.arguments().constFirst().toStringList()) {
                          if (name.startsWith(kPrefix))
                              players << name;
                      }
                  }
                  postAmong(players, key);
              });
}

void MprisNowPlaying::postAmong(const QStringList& players, Key key)
{
    if (players.isEmpty()) {
        unanswered(key);
        return;
    }
    struct Asking {
        std::map<QString, QString> statuses;
        qsizetype waiting = 0;
    };
    auto asking = std::make_shared<Asking>();
    asking->waiting = players.size();
    for (const QString& player : players) {
        QDBusMessage get = QDBusMessage::createMethodCall(player, kPath, kProperties, QStringLiteral("Get"));
        get << kPlayer << QStringLiteral("PlaybackStatus");
        // A player that answers wrongly or not at all counts as stopped; a
        // key pressed now must not wait long for a stalled one.
        constexpr int keyStatusTimeoutMs = 500;
        callAsync(
            this, get,
            [this, asking, player, key](const QDBusMessage& reply) {
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    asking->statuses[player] = DBusValues::plain(reply.arguments().constFirst()).toString();
                if (--asking->waiting > 0)
                    return;
                if (const auto target = MprisPlayerSet::keyTargetAmong(asking->statuses))
                    call(*target, key);
                else
                    unanswered(key);
            },
            keyStatusTimeoutMs);
    }
}

void MprisNowPlaying::call(const QString& service, Key key)
{
    callAsync(this, QDBusMessage::createMethodCall(service, kPath, kPlayer, methodOf(key)),
              [this, key, service](const QDBusMessage& reply) {
                  if (reply.type() == QDBusMessage::ErrorMessage) {
                      Log::debug([&] {
                          return QStringLiteral("Media key: %1 did not answer (%2)")
                              .arg(service, reply.errorName());
                      });
                      unanswered(key);
                  }
              });
}

void MprisNowPlaying::unanswered(Key key)
{
    if (m_keyboardKey && m_keyboardKey(key))
        Log::debug("Media key: no player answers, sent the keyboard's media key");
    else
        Log::debug("Media key: no player answers");
}

} // namespace quillon::platform::linux_
