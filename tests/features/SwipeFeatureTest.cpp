#include "features/swipe/SwipeFeature.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "spaceswitch/SwipeTracker.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::SwipePhase;

constexpr double far = SwipeTracker::decisionDistance;

class SwipeFeatureTest : public ::testing::Test {
protected:
    SwipeFeatureTest()
    {
        fake.displaysImpl.setScreens(
            {fakes::makeScreen(QRectF(0, 0, 1440, 900)),
             fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 25, QStringLiteral("b"))});
        fake.pointerImpl.position = QPointF(700, 400);
        feature.onSpaceSwitched = [this](int number) {
            shownInNotch.push_back(number);
            return notchShows;
        };
    }

    /// One sideways swipe on; the module switches and reports.
    void swipeOn()
    {
        fake.spaceGesturesImpl.swipe(SwipePhase::began);
        fake.spaceGesturesImpl.swipe(SwipePhase::changed, -far);
        fake.spaceGesturesImpl.swipe(SwipePhase::ended);
    }
    bool indicatorShown() const
    {
        const QWidget* w = feature.osd().window();
        const auto* record = w ? fake.overlays.find(w) : nullptr;
        return record && record->shown;
    }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    SwipeFeature feature{settings};
    std::vector<int> shownInNotch;
    bool notchShows = false;
};

TEST_F(SwipeFeatureTest, ASwitchShowsItsNumberAndTheIndicatorGoesAfterItsTime)
{
    feature.activate();
    ASSERT_TRUE(feature.isActive());
    swipeOn();
    EXPECT_EQ(shownInNotch, std::vector<int>{2});
    ASSERT_TRUE(indicatorShown());
    EXPECT_EQ(feature.osd().text(), QStringLiteral("2"));
    const auto* record = fake.overlays.find(feature.osd().window());
    EXPECT_EQ(record->style.level, 25);
    EXPECT_TRUE(record->style.clickThrough);
    // Centred on the visible frame of the pointer's screen.
    EXPECT_EQ(record->frame, QRectF(720 - 70, 437.5 - 70, 140, 140));

    // A second swipe within the time restarts it.
    fake.queue.advance(0.3);
    swipeOn();
    EXPECT_EQ(feature.osd().text(), QStringLiteral("3"));
    fake.queue.advance(0.45);
    EXPECT_TRUE(indicatorShown());
    fake.queue.advance(0.1 + SpaceOSD::fadeSeconds + 0.05);
    EXPECT_FALSE(indicatorShown());
    // The check found what was reported: nothing more shown.
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3}));
}

TEST_F(SwipeFeatureTest, TheCheckCorrectsTheNumberWhenAnotherSpaceWasReached)
{
    feature.activate();
    // Two reports within the check's delay: only the second is checked.
    fake.spacesImpl.set(true, 4, 4);
    switchTrampoline(1);
    fake.queue.advance(0.2);
    switchTrampoline(2);
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3}));
    fake.queue.advance(0.3);
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3})) << "the first check was cancelled";
    fake.queue.advance(0.2);
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(feature.osd().text(), QStringLiteral("4"));

    // A real change of workspace cancels a pending check.
    switchTrampoline(1);
    fake.spacesImpl.set(true, 3, 4);
    fake.queue.advance(1);
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3, 4, 2}));
}

TEST_F(SwipeFeatureTest, TheNotchOrTheSettingSuppressesTheIndicator)
{
    feature.activate();
    notchShows = true;
    swipeOn();
    EXPECT_FALSE(indicatorShown());
    notchShows = false;
    settings.set(false, SettingsKeys::swipeShowsOSD);
    swipeOn();
    EXPECT_FALSE(indicatorShown());
    EXPECT_EQ(shownInNotch, (std::vector<int>{2, 3}));
}

TEST_F(SwipeFeatureTest, DeactivateRemovesTheIndicatorAndGivesTheSwipesBack)
{
    feature.activate();
    swipeOn();
    ASSERT_TRUE(indicatorShown());
    feature.deactivate();
    EXPECT_EQ(feature.osd().window(), nullptr);
    EXPECT_TRUE(fake.overlays.shownWindows().empty());
    EXPECT_FALSE(fake.spaceGesturesImpl.isStarted());
    switchTrampoline(1);
    EXPECT_EQ(shownInNotch, std::vector<int>{2}) << "the trampoline goes nowhere";
}

TEST_F(SwipeFeatureTest, IndicatorCentresOnThePointersScreenAndNeedsNoFadeWithoutACompositor)
{
    fake.overlays.translucentWindows = false;
    fake.pointerImpl.position = QPointF(2000, 500);
    feature.activate();
    swipeOn();
    const auto* record = fake.overlays.find(feature.osd().window());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->frame, QRectF(1440 + 960 - 70, 527.5 - 70, 140, 140));
    EXPECT_EQ(record->shapeCount, 1) << "opaque, cut to its rounded shape";
    fake.queue.advance(0.5);
    EXPECT_FALSE(indicatorShown()) << "gone at once";
}

TEST_F(SwipeFeatureTest, AFailedStartLeavesTheFeatureOffUntilTriedAgain)
{
    fake.spaceGesturesImpl.nextStart = platform::GestureStart::unsupported;
    feature.activate();
    EXPECT_FALSE(feature.isActive());
    switchTrampoline(1);
    EXPECT_TRUE(shownInNotch.empty());
    fake.spaceGesturesImpl.nextStart = platform::GestureStart::started;
    feature.activate();
    EXPECT_TRUE(feature.isActive());
}

} // namespace
} // namespace quillon
