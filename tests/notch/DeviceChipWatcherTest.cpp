#include "notch/DeviceChipWatcher.h"

#include "fakes/FakePlatform.h"
#include "support/Symbols.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

struct Report {
    QString icon;
    QString name;
    std::optional<int> percent;
    bool connected;
    bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Report& r)
{
    return os << r.icon.toStdString() << ' ' << r.name.toStdString() << ' ' << r.percent.value_or(-1) << ' '
              << r.connected;
}

class DeviceChipWatcherTest : public ::testing::Test {
protected:
    DeviceChipWatcherTest()
    {
        watcher.onChip = [this](const std::optional<QIcon>& icon, const QString& name,
                                std::optional<int> percent, bool connected) {
            reports.push_back({icon ? icon->name() : QString(), name, percent, connected});
        };
        watcher.start();
    }

    fakes::FakePlatform fake;
    DeviceChipWatcher watcher;
    std::vector<Report> reports;
    const platform::BluetoothDevice headset{QStringLiteral("WH-1000XM4"),
                                            QStringLiteral("AA:BB:CC:DD:EE:01")};
};

TEST_F(DeviceChipWatcherTest, AConnectionIsReportedWithItsBatteryAMomentLater)
{
    fake.bluetoothImpl.batteries["aa:bb:cc:dd:ee:01"] = 70;
    fake.bluetoothImpl.connect(headset);
    EXPECT_TRUE(reports.empty());
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(reports, (std::vector<Report>{{"headphones", "WH-1000XM4", 70, true}}));

    fake.bluetoothImpl.disconnect(headset);
    EXPECT_EQ(reports.back(), (Report{"headphones", "WH-1000XM4", std::nullopt, false}));
    EXPECT_EQ(fake.bluetoothImpl.disconnectRegistrationCount(), 0u);
}

TEST_F(DeviceChipWatcherTest, ADeviceWithoutBatteryOrNameIsStillReported)
{
    fake.bluetoothImpl.connect({QString(), QStringLiteral("AA:BB:CC:DD:EE:02")});
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(reports, (std::vector<Report>{{"headphones", "Bluetooth Device", std::nullopt, true}}));
}

// A device gone before its battery was read must not be reported as
// connected afterwards.
TEST_F(DeviceChipWatcherTest, ADisconnectWithinTheDelayDropsTheWaitingReport)
{
    fake.bluetoothImpl.connect(headset);
    fake.queue.advance(0.5);
    fake.bluetoothImpl.disconnect(headset);
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(reports, (std::vector<Report>{{"headphones", "WH-1000XM4", std::nullopt, false}}));

    // Another device's report still comes.
    fake.bluetoothImpl.connect({QStringLiteral("MX Keyboard"), QStringLiteral("AA:BB:CC:DD:EE:03")});
    fake.bluetoothImpl.connect(headset);
    fake.bluetoothImpl.disconnect(headset);
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_EQ(reports.back(), (Report{"keyboard", "MX Keyboard", std::nullopt, true}));
}

TEST_F(DeviceChipWatcherTest, StopEndsEveryRegistrationAndStartRegistersOnce)
{
    fake.bluetoothImpl.connect(headset);
    watcher.stop();
    EXPECT_EQ(fake.bluetoothImpl.connectRegistrationCount(), 0u);
    EXPECT_EQ(fake.bluetoothImpl.disconnectRegistrationCount(), 0u);
    fake.queue.advance(DeviceChipWatcher::batteryDelay);
    EXPECT_TRUE(reports.empty());

    watcher.start();
    watcher.start();
    EXPECT_EQ(fake.bluetoothImpl.connectRegistrationCount(), 1u);
}

TEST(DeviceChipSymbolTest, TheNameChoosesTheSymbol)
{
    struct Case {
        const char* name;
        QStringList candidates;
    };
    const Case cases[] = {
        {"Anna's AirPods Pro", {"airpods.pro", "airpods", "headphones", "headphones"}},
        {"MAGIC KEYBOARD", {"keyboard", "headphones"}},
        {"Magic Trackpad", {"computermouse", "magicmouse", "headphones"}},
        {"MX Master mouse", {"computermouse", "magicmouse", "headphones"}},
        {"Speaker", {"headphones", "headphones"}},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(DeviceChipWatcher::symbolCandidates(name), c.candidates) << c.name;
        const auto icon = DeviceChipWatcher::symbol(name);
        ASSERT_TRUE(icon) << c.name;
        QString expected;
        for (const QString& candidate : c.candidates) {
            if (Symbols::image(candidate)) {
                expected = candidate;
                break;
            }
        }
        EXPECT_EQ(icon->name(), expected) << c.name;
    }
}

TEST(BluetoothAddressTest, SpellingsOfOneAddressMatch)
{
    EXPECT_EQ(platform::Bluetooth::normalisedAddress("AA-BB-CC-0D-EE-F1"),
              platform::Bluetooth::normalisedAddress("aa:bb:cc:0d:ee:f1"));
    EXPECT_NE(platform::Bluetooth::normalisedAddress("AA-BB-CC-0D-EE-F2"),
              platform::Bluetooth::normalisedAddress("aa:bb:cc:0d:ee:f1"));
}

} // namespace
