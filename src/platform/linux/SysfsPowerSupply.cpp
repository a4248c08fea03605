#include "platform/linux/SysfsPowerSupply.h"

#include <QDir>
#include <QFile>

namespace quillon::platform::linux_ {

namespace {

std::optional<QString> attribute(const QDir& supply, const char* name)
{
    QFile file(supply.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll()).trimmed();
}

std::optional<qint64> number(const QDir& supply, const char* name)
{
    const auto text = attribute(supply, name);
    bool ok = false;
    const qint64 value = text ? text->toLongLong(&ok) : 0;
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// The kernel's own percentage first; else energy (µWh) or charge (µAh).
std::optional<double> charge(const QDir& supply)
{
    if (const auto capacity = number(supply, "capacity"))
        return double(*capacity);
    for (const auto& [now, full] :
         {std::pair{"energy_now", "energy_full"}, std::pair{"charge_now", "charge_full"}}) {
        if (const auto current = number(supply, now))
            return double(SysfsPowerSupply::percentOf(*current, number(supply, full).value_or(100)));
    }
    return std::nullopt;
}

} // namespace

int SysfsPowerSupply::percentOf(qint64 current, qint64 full)
{
    return int(full > 0 ? current * 100 / full : current);
}

std::optional<BatteryReading> SysfsPowerSupply::read(const QString& root)
{
    const QDir dir(root);
    bool adapterOnline = false;
    std::optional<BatteryReading> battery;
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Name)) {
        const QDir supply(dir.filePath(name));
        const QString type = attribute(supply, "type").value_or(QString());
        if (type == QLatin1String("Mains") || type.startsWith(QLatin1String("USB"))) {
            adapterOnline = adapterOnline || number(supply, "online").value_or(0) == 1;
            continue;
        }
        if (battery || type != QLatin1String("Battery") ||
            attribute(supply, "scope") == QStringLiteral("Device") ||
            number(supply, "present").value_or(1) == 0)
            continue;
        const auto percent = charge(supply);
        if (!percent)
            continue;
        const bool discharging = attribute(supply, "status") == QStringLiteral("Discharging");
        battery = BatteryReading{discharging, *percent};
    }
    if (battery && adapterOnline)
        battery->isOnBattery = false;
    return battery;
}

} // namespace quillon::platform::linux_
