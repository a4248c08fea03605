#include "fakes/FakePlatform.h"
#include "support/AboutInfo.h"
#include "support/MachineInfo.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(AboutInfo, VersionLine)
{
    struct Case {
        std::optional<QString> version, build, commit;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"1.4.2", "87", "3fa9c1e", "1.4.2 (87 \u00b7 3fa9c1e)"},
        {"1.4.2", "87", std::nullopt, "1.4.2 (87)"},
        {"1.4.2", "", "3fa9c1e", "1.4.2 (3fa9c1e)"},
        {"2.0", "", "", "2.0"},
        {std::nullopt, "87", "3fa9c1e", "development build"},
        {"", "87", "3fa9c1e", "development build"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AboutInfo::versionLine(c.version, c.build, c.commit), c.expected);
}

TEST(AboutInfo, CurrentComesFromTheBuild)
{
    fakes::FakePlatform fake;
    EXPECT_EQ(AboutInfo::current(), "1.4.2 (87 \u00b7 3fa9c1e)");
}

TEST(MachineInfo, DisplaysAndSummary)
{
    fakes::FakePlatform fake;
    EXPECT_EQ(MachineInfo::displays(), "no displays");
    auto notched = fakes::makeScreen(QRectF(1920, 0, 1470.7, 956.9));
    notched.safeAreaTop = 32;
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1920, 1080)), notched});
    EXPECT_EQ(MachineInfo::displays(), "2 display(s) (1920\u00d71080, 1470\u00d7956+notch)");
    EXPECT_EQ(MachineInfo::summary(), "Framework Laptop 13 \u00b7 x86_64 \u00b7 8 cores \u00b7 16 GB \u00b7 "
                                      "2 display(s) (1920\u00d71080, 1470\u00d7956+notch)");
    fake.machine.model.clear();
    fake.machine.memoryBytes = (qint64(8) << 30) - 1; // whole GiB, rounded down
    EXPECT_TRUE(MachineInfo::summary().startsWith("unknown model \u00b7 x86_64 \u00b7 8 cores \u00b7 7 GB"));
}

} // namespace
