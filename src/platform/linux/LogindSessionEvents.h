#pragma once

#include "platform/Observers.h"
#include "platform/SessionEvents.h"

#include <QObject>
#include <QString>
#include <QVariantMap>
#include <memory>

namespace quillon::platform::linux_ {

/// Sleep and session notices from logind on the system bus: waking is
/// `PrepareForSleep(false)`; the session becoming active is its `Active`
/// property turning true, on the session `GetSessionByPID` finds for us (a
/// pending call). Without logind there are no notices (logged once).
class LogindSessionEvents final : public QObject, public SessionEvents {
    Q_OBJECT

public:
    LogindSessionEvents();
    ~LogindSessionEvents() override;

    int addHandler(std::function<void(SessionNotice)> handler) override;
    void removeHandler(int token) override;

private slots:
    void prepareForSleep(bool sleeping);
    void sessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                  const QStringList& invalidated);

private:
    void connectBus();

    Observers<SessionNotice> m_handlers;
    bool m_connected = false;
    bool m_active = true;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon::platform::linux_
