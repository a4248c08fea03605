#include "platform/linux/LogindPowerAssertions.h"

#include <QDBusArgument>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::LogindPowerAssertions;

TEST(Inhibitors, GnomeInhibitorsCountWhenTheyHoldOffIdleAndAreNotOurs)
{
    const QStringList ours{QStringLiteral("app.quillon.Quillon"), QStringLiteral("Quillon")};
    struct Row {
        const char* name;
        std::vector<std::pair<uint32_t, QString>> inhibitors;
        bool others;
    };
    const Row table[] = {
        {"none", {}, false},
        {"a player holding off idle", {{8, "org.videolan.VLC"}}, true},
        {"idle among other flags", {{4 | 8, "totem"}}, true},
        {"suspend only", {{4, "org.videolan.VLC"}}, false},
        {"our own, by app id or by name", {{8, "app.quillon.Quillon"}, {8, "Quillon"}}, false},
        {"an unreadable one (no flags, no id)", {{0, ""}}, false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(LogindPowerAssertions::gnomeOthersIn(row.inhibitors, ours), row.others);
    }
}

TEST(Inhibitors, AMalformedListInhibitorsReplyHoldsNone)
{
    EXPECT_FALSE(LogindPowerAssertions::othersIn({}, 1));
    EXPECT_FALSE(LogindPowerAssertions::othersIn({QVariant(42)}, 1));
    EXPECT_FALSE(LogindPowerAssertions::othersIn({QVariant(QStringLiteral("idle")), QVariant(1)}, 1));
}

} // namespace
} // namespace quillon
