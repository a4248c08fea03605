#include "fakes/FakePlatform.h"
#include "ui/AwakeMenuText.h"
#include "ui/SnapShortcut.h"
#include "ui/TimeText.h"

#include <gtest/gtest.h>
#include <limits>

namespace quillon {
namespace {

TEST(TimeText, Minutes)
{
    const std::pair<int, const char*> cases[] = {
        {1, "1 minutes"},   {45, "45 minutes"}, {59, "59 minutes"}, {60, "1 hour"},
        {61, "61 minutes"}, {90, "90 minutes"}, {120, "2 hours"},   {180, "3 hours"},
    };
    for (const auto& [minutes, text] : cases)
        EXPECT_EQ(TimeText::minutes(minutes), text) << minutes;
}

TEST(TimeText, DelaysAndHolds)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double seconds;
        const char* delay;
        const char* hold;
        const char* phrase;
    };
    const Case cases[] = {
        {0, "0 seconds", "Instant", "as soon as you hold it"},
        {-1, "-1 seconds", "Instant", "as soon as you hold it"},
        {0.05, "0.05 seconds", "50 ms", "after 50 ms of holding"},
        {0.2, "0.2 seconds", "200 ms", "after 200 ms of holding"},
        {0.5, "0.5 seconds", "500 ms", "after 500 ms of holding"},
        {1.0, "1 second", "1 second", "after 1 second of holding"},
        {1.5, "1 seconds", "1 seconds", "after 1 seconds of holding"},
        {2.0, "2 seconds", "2 seconds", "after 2 seconds of holding"},
        {nan, "0 seconds", "Instant", "as soon as you hold it"},
        {inf, "0 seconds", "Instant", "as soon as you hold it"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeText::delay(c.seconds), c.delay) << c.seconds;
        EXPECT_EQ(TimeText::holdDelay(c.seconds), c.hold) << c.seconds;
        EXPECT_EQ(TimeText::holdDelayPhrase(c.seconds), c.phrase) << c.seconds;
    }
}

TEST(AwakeMenuText, EndTimeInTheGivenLocaleAndZone)
{
    const QDateTime now(QDate(2026, 3, 14), QTime(22, 0), Qt::UTC);
    for (const char* localeName : {"en_US", "de_DE"}) {
        for (const char* zoneName : {"UTC", "Asia/Tokyo"}) {
            const QLocale locale(localeName);
            const QTimeZone zone(zoneName);
            SCOPED_TRACE(std::string(localeName) + " " + zoneName);
            // Three end times: 30 minutes on, 3 hours on (after midnight in UTC),
            // 12 hours on (the next day in both zones).
            for (const int minutes : {30, 180, 720}) {
                const QDateTime end = now.addSecs(minutes * 60);
                const QString time = locale.toString(end.toTimeZone(zone).time(), QLocale::ShortFormat);
                const bool nextDay = end.toTimeZone(zone).date() != now.toTimeZone(zone).date();
                const QString expected = "until " + time + (nextDay ? " tomorrow" : "");
                EXPECT_EQ(AwakeMenuText::detail(end, std::nullopt, now, locale, zone), expected);
                EXPECT_EQ(AwakeMenuText::detail(end, QString("Zoom"), now, locale, zone),
                          expected + ", because Zoom");
            }
        }
    }
    // 22:30 UTC is the same day in UTC but 07:30 the next day in Tokyo.
    const QDateTime soon = now.addSecs(30 * 60);
    EXPECT_FALSE(
        AwakeMenuText::detail(soon, {}, now, QLocale("en_US"), QTimeZone("UTC")).endsWith("tomorrow"));
    EXPECT_FALSE(
        AwakeMenuText::detail(soon, {}, now, QLocale("en_US"), QTimeZone("Asia/Tokyo")).endsWith("tomorrow"))
        << "both ends fall on the 15th in Tokyo";
    const QDateTime late = now.addSecs(180 * 60);
    EXPECT_TRUE(
        AwakeMenuText::detail(late, {}, now, QLocale("en_US"), QTimeZone("UTC")).endsWith("tomorrow"));
}

TEST(AwakeMenuText, WithoutEndTime)
{
    const QDateTime now(QDate(2026, 3, 14), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(AwakeMenuText::detail({}, {}, now, QLocale("en_US"), QTimeZone("UTC")), "no time limit");
    EXPECT_EQ(
        AwakeMenuText::detail({}, QString("an external display"), now, QLocale("en_US"), QTimeZone("UTC")),
        "no time limit, because an external display");
}

TEST(SnapShortcut, TableInGroupsWithItsGlyphs)
{
    QStringList rows;
    for (const auto& [group, shortcuts] : SnapShortcut::groups()) {
        for (const SnapShortcut& shortcut : shortcuts)
            rows << group + " | " + shortcut.title + " | " + shortcut.display();
    }
    const QStringList expected{
        "Halves | Left | ⌃⌥ ←",
        "Halves | Right | ⌃⌥ →",
        "Halves | Top | ⌃⌥ ↑",
        "Halves | Bottom | ⌃⌥ ↓",
        "Quarters | Top Left | ⌃⌥ U",
        "Quarters | Top Right | ⌃⌥ I",
        "Quarters | Bottom Left | ⌃⌥ J",
        "Quarters | Bottom Right | ⌃⌥ K",
        "Thirds | Left Third | ⌃⌥ D",
        "Thirds | Center Third | ⌃⌥ F",
        "Thirds | Right Third | ⌃⌥ G",
        "Two thirds | Left Two Thirds | ⌃⌥ E",
        "Two thirds | Right Two Thirds | ⌃⌥ T",
        "Whole window | Maximize | ⌃⌥ ⏎",
        "Whole window | Center | ⌃⌥ C",
        "Whole window | Restore | ⌃⌥ ⌫",
        "Other displays | Previous Display | ⌃⌥⌘ ←",
        "Other displays | Next Display | ⌃⌥⌘ →",
    };
    EXPECT_EQ(rows, expected);

    // Every position once.
    QSet<int> positions;
    for (const auto& [group, shortcuts] : SnapShortcut::groups()) {
        for (const SnapShortcut& shortcut : shortcuts)
            positions.insert(int(shortcut.position));
    }
    EXPECT_EQ(positions.size(), 18);
}

} // namespace
} // namespace quillon
