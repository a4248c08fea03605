#include "platform/linux/KdeConnectShare.h"

#include "support/Log.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QUrl>

namespace quillon::platform::linux_ {

KdeConnectShare::KdeConnectShare()
    : m_watcher(new QDBusServiceWatcher(service, QDBusConnection::sessionBus(),
                                        QDBusServiceWatcher::WatchForOwnerChange, this))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                if (owner.isEmpty()) {
                    ++m_generation;
                    setDevice(QString());
                } else {
                    refresh();
                }
            });
    // A device paired, unpaired, coming into reach or leaving it.
    bus.connect(service, daemonPath, daemonInterface, QStringLiteral("deviceListChanged"), this,
                SLOT(refresh()));
    refresh();
}

KdeConnectShare::~KdeConnectShare() = default;

int KdeConnectShare::addAvailabilityHandler(std::function<void(bool)> handler)
{
    return m_handlers.add(std::move(handler));
}

void KdeConnectShare::removeAvailabilityHandler(int token)
{
    m_handlers.remove(token);
}

void KdeConnectShare::refresh()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusMessage call = QDBusMessage::createMethodCall(service, daemonPath, daemonInterface,
                                                       QStringLiteral("devices"));
    // Only devices in reach, only paired ones.
    call << true << true;
    const int generation = ++m_generation;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        if (generation != m_generation)
            return;
        const QDBusPendingReply<QStringList> reply = *watcher;
        // No daemon, or one that did not answer: nothing to send to.
        const QStringList devices = reply.isError() ? QStringList() : reply.value();
        setDevice(devices.isEmpty() ? QString() : devices.front());
    });
}

void KdeConnectShare::setDevice(const QString& device)
{
    const bool was = isAvailable();
    m_device = device;
    if (was != isAvailable())
        m_handlers.notify(isAvailable());
}

void KdeConnectShare::send(const QStringList& paths)
{
    if (m_device.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString path = daemonPath + QStringLiteral("/devices/") + m_device + QStringLiteral("/share");
    for (const QString& file : paths) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, path, shareInterface, QStringLiteral("shareUrl"));
        call << QUrl::fromLocalFile(file).toString();
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, file] {
            watcher->deleteLater();
            if (watcher->isError())
                Log::error(QStringLiteral("Send to Device: %1 was not sent: %2")
                               .arg(file, watcher->error().message()));
        });
    }
}

} // namespace quillon::platform::linux_
