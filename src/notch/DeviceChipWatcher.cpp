#include "notch/DeviceChipWatcher.h"

#include "platform/Platform.h"
#include "support/Symbols.h"

#include <algorithm>

namespace quillon {

namespace {

platform::Bluetooth& bluetooth()
{
    return platform::platform().bluetooth();
}

} // namespace

DeviceChipWatcher::DeviceChipWatcher()
    : m_self(std::make_shared<DeviceChipWatcher*>(this))
{
}

DeviceChipWatcher::~DeviceChipWatcher()
{
    if (platform::hasPlatform())
        stop();
}

void DeviceChipWatcher::start()
{
    if (m_connectNote)
        return;
    std::weak_ptr<DeviceChipWatcher*> weak = m_self;
    m_connectNote = bluetooth().registerForConnects([weak](const platform::BluetoothDevice& device) {
        if (auto self = weak.lock())
            (*self)->deviceConnected(device);
    });
}

void DeviceChipWatcher::stop()
{
    if (m_connectNote) {
        bluetooth().unregister(*m_connectNote);
        m_connectNote.reset();
    }
    for (const int note : m_disconnectNotes)
        bluetooth().unregister(note);
    m_disconnectNotes.clear();
    for (auto& [report, pending] : m_pendingReports)
        pending.item.cancel();
    m_pendingReports.clear();
}

QString DeviceChipWatcher::displayName(const platform::BluetoothDevice& device)
{
    return device.name.isEmpty() ? QStringLiteral("Bluetooth Device") : device.name;
}

void DeviceChipWatcher::deviceConnected(const platform::BluetoothDevice& device)
{
    const QString name = displayName(device);
    const QString address = platform::Bluetooth::normalisedAddress(device.address);
    std::weak_ptr<DeviceChipWatcher*> weak = m_self;
    // The registration answers its own token; it is known only once it returns.
    auto note = std::make_shared<std::optional<int>>();
    *note = bluetooth().registerForDisconnect(device.address,
                                              [weak, note](const platform::BluetoothDevice& gone) {
                                                  if (auto self = weak.lock(); self && *note)
                                                      (*self)->deviceDisconnected(**note, gone);
                                              });
    if (*note)
        m_disconnectNotes.push_back(**note);

    const int report = ++m_lastReport;
    const platform::WorkItem item =
        platform::platform().mainQueue().after(batteryDelay, [weak, name, address, report] {
            auto self = weak.lock();
            if (!self)
                return;
            (*self)->m_pendingReports.erase(report);
            const auto percent = address.isEmpty() ? std::nullopt : bluetooth().batteryPercent(address);
            if ((*self)->onChip)
                (*self)->onChip(symbol(name), name, percent, true);
        });
    m_pendingReports.emplace(report, PendingReport{address, item});
}

// A device gone before its battery was read is not reported as connected
// afterwards: its waiting report goes with it.
void DeviceChipWatcher::deviceDisconnected(int note, const platform::BluetoothDevice& device)
{
    bluetooth().unregister(note);
    std::erase(m_disconnectNotes, note);
    const QString address = platform::Bluetooth::normalisedAddress(device.address);
    for (auto it = m_pendingReports.begin(); it != m_pendingReports.end();) {
        if (it->second.address == address) {
            it->second.item.cancel();
            it = m_pendingReports.erase(it);
        } else {
            ++it;
        }
    }
    const QString name = displayName(device);
    if (onChip)
        onChip(symbol(name), name, std::nullopt, false);
}

QStringList DeviceChipWatcher::symbolCandidates(const QString& name)
{
    const QString lower = name.toLower();
    QStringList candidates;
    if (lower.contains(QLatin1String("airpods")))
        candidates = {QStringLiteral("airpods.pro"), QStringLiteral("airpods"), QStringLiteral("headphones")};
    else if (lower.contains(QLatin1String("keyboard")))
        candidates = {QStringLiteral("keyboard")};
    else if (lower.contains(QLatin1String("mouse")) || lower.contains(QLatin1String("trackpad")))
        candidates = {QStringLiteral("computermouse"), QStringLiteral("magicmouse")};
    else
        candidates = {QStringLiteral("headphones")};
    candidates << QStringLiteral("headphones");
    return candidates;
}

std::optional<QIcon> DeviceChipWatcher::symbol(const QString& name)
{
    for (const QString& candidate : symbolCandidates(name)) {
        if (auto icon = Symbols::image(candidate))
            return icon;
    }
    return std::nullopt;
}

} // namespace quillon
