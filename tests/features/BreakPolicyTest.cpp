#include "features/breaks/BreakPolicy.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using BreakPolicy::Decision;

TEST(BreakPolicy, DecidesInOrderCreditExclusionBusyTypingStart)
{
    struct Row {
        const char* name;
        BreakPolicy::Readings readings;
        Decision decision;
    };
    const QSet<QString> player{QStringLiteral("org.videolan.VLC")};
    const auto r = [&](bool smart, double idle, double key, bool busy, std::optional<QString> front,
                       int defers) {
        BreakPolicy::Readings x;
        x.smart = smart;
        x.idle = idle;
        x.key = key;
        x.busy = busy;
        x.front = front;
        x.excluded = player;
        x.typingDefers = defers;
        x.breakSeconds = 20;
        return x;
    };
    const QString vlc = QStringLiteral("org.videolan.VLC");
    const Row table[] = {
        {"a pause as long as a break is credited, before exclusion", r(true, 20, 20, true, vlc, 0),
         Decision::creditNatural},
        {"exclusion before busy", r(true, 1, 0, true, vlc, 0), Decision::postponeBusy},
        {"busy before typing", r(true, 1, 0, true, std::nullopt, 0), Decision::postponeBusy},
        {"typing", r(true, 1, 2.9, false, std::nullopt, 0), Decision::postponeTyping},
        {"the fifth typing deferral is the last", r(true, 1, 0, false, std::nullopt, 4),
         Decision::postponeTyping},
        {"after five, the break starts", r(true, 1, 0, false, std::nullopt, 5), Decision::start},
        {"a key 3 s ago is no longer typing", r(true, 1, 3.0, false, std::nullopt, 0), Decision::start},
        {"another app in front", r(true, 1, 10, false, QStringLiteral("org.gnome.Nautilus"), 0),
         Decision::start},
        {"smart off: long idle and typing do not count", r(false, 500, 0, true, std::nullopt, 0),
         Decision::start},
        {"smart off: an excluded app still postpones", r(false, 500, 0, false, vlc, 0),
         Decision::postponeBusy},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BreakPolicy::decide(row.readings).decision, row.decision);
    }
}

TEST(BreakPolicy, SummariesSayWhatWasRead)
{
    BreakPolicy::Readings r;
    r.smart = true;
    r.idle = 42.4;
    r.key = 130;
    r.breakSeconds = 60;
    r.typingDefers = 0;
    EXPECT_EQ(BreakPolicy::decide(r).summary,
              QStringLiteral("start — smart on, idle 42s, key 130s, busy no, front —, excluded 0, defers 0"));
    r.smart = false;
    r.front = QStringLiteral("org.videolan.VLC");
    r.excluded = {*r.front, QStringLiteral("mpv")};
    r.typingDefers = 2;
    EXPECT_EQ(BreakPolicy::decide(r).summary,
              QStringLiteral("postponeBusy — smart OFF, idle 0s, key 0s, busy no, front org.videolan.VLC, "
                             "excluded 2, defers 2"));
}

} // namespace
} // namespace quillon
