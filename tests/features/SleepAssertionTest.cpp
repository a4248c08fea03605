#include "features/awake/SleepAssertion.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using Kind = SleepAssertion::Kind;

TEST(SleepAssertion, SequencesOfAcquireAndRelease)
{
    // Each step: acquire a kind (or release), whether it fails on the fake,
    // the expected answer; then the expected events so far ("+1 keep" = handle
    // 1 created with keepDisplayOn, "-1" = handle 1 released).
    struct Step {
        std::optional<Kind> acquire; // none: release
        bool fail = false;
        bool answer = true;
    };
    struct Row {
        const char* name;
        std::vector<Step> steps;
        std::vector<QString> events;
        std::optional<Kind> held;
    };
    const Row table[] = {
        {"the same kind twice makes one",
         {{Kind::keepDisplayOn}, {Kind::keepDisplayOn}},
         {"+1 keep"},
         Kind::keepDisplayOn},
        {"a kind change makes the new one before releasing the old",
         {{Kind::keepDisplayOn}, {Kind::allowDisplaySleep}},
         {"+1 keep", "+2 allow", "-1"},
         Kind::allowDisplaySleep},
        {"a refused change keeps the old one",
         {{Kind::keepDisplayOn}, {Kind::allowDisplaySleep, true, false}},
         {"+1 keep"},
         Kind::keepDisplayOn},
        {"a refused first one holds nothing", {{Kind::allowDisplaySleep, true, false}}, {}, std::nullopt},
        {"release while empty does nothing", {{std::nullopt}}, {}, std::nullopt},
        {"release, then release again",
         {{Kind::allowDisplaySleep}, {std::nullopt}, {std::nullopt}},
         {"+1 allow", "-1"},
         std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        fakes::FakePlatform fake;
        {
            SleepAssertion assertion;
            for (const Step& step : row.steps) {
                fake.powerAssertionsImpl.failNext = step.fail ? 1 : 0;
                if (step.acquire)
                    EXPECT_EQ(assertion.acquire(*step.acquire, QStringLiteral("why")), step.answer);
                else
                    assertion.release();
            }
            QStringList events;
            for (const auto& e : fake.powerAssertionsImpl.events) {
                events << (e.created ? QStringLiteral("+%1 %2").arg(e.handle).arg(
                                           e.kind == Kind::keepDisplayOn ? QStringLiteral("keep")
                                                                         : QStringLiteral("allow"))
                                     : QStringLiteral("-%1").arg(e.handle));
            }
            EXPECT_EQ(events, QStringList(row.events.begin(), row.events.end()));
            EXPECT_EQ(assertion.kind(), row.held);
            if (std::any_of(row.steps.begin(), row.steps.end(), [](const Step& s) { return s.fail; })) {
                EXPECT_TRUE(fake.log.contains(QStringLiteral("Awake: power assertion failed (-5)")));
            }
        }
        EXPECT_TRUE(fake.powerAssertionsImpl.held.empty()) << "released when the object goes";
    }
}

} // namespace
} // namespace quillon
