#include "platform/linux/SysfsPowerSupply.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon::platform;
using namespace quillon::platform::linux_;

namespace {

class SysfsPowerSupplyTest : public ::testing::Test {
protected:
    void supply(const QString& name, const std::map<QString, QString>& attributes)
    {
        QDir(root.path()).mkpath(name);
        for (const auto& [attribute, value] : attributes) {
            QFile file(root.filePath(name + '/' + attribute));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write((value + '\n').toUtf8());
        }
    }
    std::optional<BatteryReading> read() { return SysfsPowerSupply::read(root.path()); }

    QTemporaryDir root;
};

TEST(SysfsPercentTest, CurrentOverFullInWholePercent)
{
    EXPECT_EQ(SysfsPowerSupply::percentOf(45, 90), 50);
    EXPECT_EQ(SysfsPowerSupply::percentOf(44, 90), 48);
    EXPECT_EQ(SysfsPowerSupply::percentOf(37, 0), 37);
}

TEST_F(SysfsPowerSupplyTest, TheSystemBatteryAndWhatPowersTheComputer)
{
    EXPECT_FALSE(read()) << "a desktop without a battery";
    supply("hid-mouse-battery", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "30"}});
    EXPECT_FALSE(read()) << "a mouse's battery is not the computer's";

    supply("BAT0", {{"type", "Battery"},
                    {"status", "Discharging"},
                    {"energy_now", "45000000"},
                    {"energy_full", "90000000"},
                    {"present", "1"}});
    auto reading = read();
    ASSERT_TRUE(reading);
    EXPECT_TRUE(reading->isOnBattery);
    EXPECT_DOUBLE_EQ(reading->percent, 50);

    supply("BAT0", {{"capacity", "73"}});
    EXPECT_DOUBLE_EQ(read()->percent, 73) << "the kernel's own percentage first";

    supply("AC", {{"type", "Mains"}, {"online", "1"}});
    EXPECT_FALSE(read()->isOnBattery) << "an adapter online";
    supply("AC", {{"online", "0"}});
    supply("BAT0", {{"status", "Charging"}});
    EXPECT_FALSE(read()->isOnBattery);
}

TEST_F(SysfsPowerSupplyTest, AnAbsentBatteryIsNone)
{
    supply("BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "0"}});
    EXPECT_FALSE(read());
}

} // namespace
