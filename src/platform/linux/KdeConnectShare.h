#pragma once

#include "platform/Observers.h"
#include "platform/ShareService.h"

#include <QObject>
#include <QString>

class QDBusServiceWatcher;

namespace quillon::platform::linux_ {

/// Files sent to a phone or another computer through KDE Connect: available
/// while its daemon lists a paired device in reach, and then sending to the
/// first such device. Every call on the bus is asynchronous.
class KdeConnectShare final : public QObject, public ShareService {
    Q_OBJECT

public:
    static inline const QString service = QStringLiteral("org.kde.kdeconnect");
    static inline const QString daemonPath = QStringLiteral("/modules/kdeconnect");
    static inline const QString daemonInterface = QStringLiteral("org.kde.kdeconnect.daemon");
    static inline const QString shareInterface = QStringLiteral("org.kde.kdeconnect.device.share");

    KdeConnectShare();
    ~KdeConnectShare() override;

    bool isAvailable() const override { return !m_device.isEmpty(); }
    int addAvailabilityHandler(std::function<void(bool)> handler) override;
    void removeAvailabilityHandler(int token) override;
    void send(const QStringList& paths) override;

private Q_SLOTS:
    /// Asks the daemon again for the paired devices in reach.
    void refresh();

private:
    void setDevice(const QString& device);

    QDBusServiceWatcher* m_watcher;
    QString m_device;
    /// Only the answer to the latest question counts.
    int m_generation = 0;
    Observers<bool> m_handlers;
};

} // namespace quillon::platform::linux_
