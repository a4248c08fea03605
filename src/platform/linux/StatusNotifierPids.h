#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <vector>

class QDBusServiceWatcher;

namespace quillon::platform::linux_ {

/// The processes that show a StatusNotifierItem (the tray icons of today's
/// toolkits), kept from org.kde.StatusNotifierWatcher's item list and its
/// signals. Every bus call is a pending one, so reading never blocks; an item
/// whose owner has no pid counts for nobody. Main thread.
class StatusNotifierPids final : public QObject {
    Q_OBJECT

public:
    /// `changed` runs after the set of pids changed.
    explicit StatusNotifierPids(std::function<void()> changed,
                                QDBusConnection bus = QDBusConnection::sessionBus());

    std::vector<int32_t> pids() const;

    /// The bus name of a registered entry: what comes before its first "/"
    /// (an entry is a unique name with an object path, or a well-known name).
    static QString busName(const QString& entry);

private slots:
    void itemRegistered(const QString& entry);
    void itemUnregistered(const QString& entry);

private:
    void readAll();
    void missing(const QString& why);

    std::function<void()> m_changed;
    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    std::map<QString, int32_t> m_items; // entry -> pid (0 while unknown or none)
    bool m_loggedMissing = false;
    int m_generation = 0; // drops answers to a list read that a newer read replaced
};

} // namespace quillon::platform::linux_
