#pragma once

#include "platform/Observers.h"
#include "platform/Volumes.h"

#include <QDBusMessage>
#include <QObject>
#include <map>

namespace quillon::platform::linux_ {

/// The mounted filesystems through UDisks2 on the system bus, kept from its
/// signals so reading them never waits: the objects are asked for once, then
/// followed through InterfacesAdded, InterfacesRemoved and the changes of
/// their properties. Hidden = Block.HintIgnore, internal = Block.HintSystem.
/// Without UDisks2 there are no volumes (logged once).
class UDisksVolumes final : public QObject, public Volumes {
    Q_OBJECT
public:
    UDisksVolumes();
    ~UDisksVolumes() override;

    std::vector<Volume> mounted() override;
    std::optional<int> addChangeHandler(std::function<void()> handler) override;
    void removeChangeHandler(int token) override;

private slots:
    void propertiesChanged(const QDBusMessage& message);
    void interfacesAdded(const QDBusMessage& message);
    void interfacesRemoved(const QDBusMessage& message);
    void ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    struct Filesystem {
        QList<QByteArray> mountPoints;
        bool hidden = false;
        std::optional<bool> internal;
        bool isFilesystem = false;
    };

    void startWatching();
    void askForObjects();
    /// Takes in what an object tells of its block device and filesystem.
    void take(const QString& path, const QMap<QString, QVariantMap>& interfaces);
    static std::vector<Volume> volumesOf(const std::map<QString, Filesystem>& filesystems);
    void changedFrom(const std::vector<Volume>& before);

    std::map<QString, Filesystem> m_filesystems;
    Observers<> m_handlers;
    bool m_watching = false;
    bool m_loggedAbsent = false;
    int m_generation = 0;
};

} // namespace quillon::platform::linux_
