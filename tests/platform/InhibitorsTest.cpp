#include "platform/linux/DesktopInhibitors.h"
#include "platform/linux/LogindPowerAssertions.h"

#include <QDBusArgument>
#include <QDBusMessage>
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

TEST(Inhibitors, OnlyAnAnswerOfOneUnsignedValueIsACookie)
{
    using platform::linux_::DesktopInhibitors;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("Inhibit"));
    struct Row {
        const char* name;
        QDBusMessage reply;
        std::optional<uint32_t> cookie;
    };
    const Row table[] = {
        {"a cookie", call.createReply(QVariant::fromValue(uint32_t(4000000000u))), 4000000000u},
        {"an error", call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"), "no"),
         std::nullopt},
        {"nothing", call.createReply(), std::nullopt},
        {"a string", call.createReply(QVariant(QStringLiteral("7"))), std::nullopt},
        {"a signed number", call.createReply(QVariant(int32_t(7))), std::nullopt},
        {"two values", call.createReply(QVariantList{QVariant(uint32_t(7)), QVariant(uint32_t(8))}),
         std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DesktopInhibitors::cookieIn(row.reply), row.cookie);
    }
    EXPECT_EQ(DesktopInhibitors::serviceNamed(QStringLiteral("org.gnome.SessionManager")),
              DesktopInhibitors::Service::gnomeSession);
    EXPECT_EQ(DesktopInhibitors::serviceNamed(QStringLiteral("org.freedesktop.PowerManagement")), std::nullopt);
}

} // namespace
} // namespace quillon
