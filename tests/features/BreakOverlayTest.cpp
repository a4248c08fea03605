#include "features/breaks/BreakOverlay.h"
#include "fakes/FakePlatform.h"
#include "features/breaks/BreakPanel.h"
#include "platform/KeyFlags.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class BreakOverlayTest : public ::testing::Test {
protected:
    BreakOverlayTest()
    {
        fake.displaysImpl.screenList = {
            fakes::makeScreen(QRectF(0, 0, 1440, 900)),
            fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 25, QStringLiteral("b"))};
    }
    void show(int seconds, double skipDelay)
    {
        overlay.show(seconds, BreakOverlay::prompts[1], skipDelay,
                     [this](BreakOutcome outcome) { outcomes.push_back(outcome); });
    }
    bool anyShown() const { return !fake.overlays.shownWindows().empty(); }

public:
    fakes::FakePlatform fake;
    BreakOverlay overlay;
    std::vector<BreakOutcome> outcomes;
};

TEST_F(BreakOverlayTest, APanelPerScreenCountsDownTogetherAndCompletes)
{
    show(20, 5);
    ASSERT_EQ(overlay.panels().size(), 2u);
    for (QWidget* panel : overlay.panels()) {
        const auto* record = fake.overlays.find(panel);
        ASSERT_TRUE(record);
        EXPECT_EQ(record->style.level, 25);
        EXPECT_FALSE(record->style.clickThrough) << "the pills take clicks";
        EXPECT_TRUE(record->shown);
    }
    EXPECT_EQ(fake.overlays.find(overlay.panels()[1])->frame, QRectF(1440, 0, 1920, 1080));
    EXPECT_EQ(overlay.countdownTexts(), (std::vector<QString>{"00:20", "00:20"}));
    EXPECT_FALSE(overlay.skipButtons()[0]->isEnabled());
    EXPECT_DOUBLE_EQ(overlay.snoozeButtons()[1]->alpha(), 0.4);
    EXPECT_TRUE(overlay.keyTap().isArmed());
    ASSERT_EQ(fake.interceptorImpl.taps.size(), 1u);
    EXPECT_TRUE(fake.interceptorImpl.taps.begin()->second.keys.wholeKeyboard);

    fake.queue.advance(5);
    EXPECT_EQ(overlay.countdownTexts(), (std::vector<QString>{"00:15", "00:15"}));
    EXPECT_TRUE(overlay.skipButtons()[1]->isEnabled());
    EXPECT_DOUBLE_EQ(overlay.skipButtons()[0]->alpha(), 1.0);
    fake.queue.advance(10);
    EXPECT_EQ(overlay.skipButtons()[0]->title(), QStringLiteral("End Break"));
    fake.queue.advance(5);
    EXPECT_EQ(outcomes, std::vector{BreakOutcome::completed});
    EXPECT_TRUE(overlay.panels().empty());
    EXPECT_FALSE(overlay.keyTap().isArmed());
    fake.queue.advance(1);
    EXPECT_FALSE(anyShown()) << "faded out and gone";
}

TEST_F(BreakOverlayTest, PillsAndEscEndTheBreakWithTheirOutcome)
{
    struct Row {
        const char* name;
        int seconds;
        std::function<void(BreakOverlayTest&)> act;
        BreakOutcome outcome;
    };
    const Row table[] = {
        {"Skip with time left", 20, [](BreakOverlayTest& t) { t.overlay.skipButtons()[1]->click(); },
         BreakOutcome::skipped},
        {"End Break of a 5 s break", 5, [](BreakOverlayTest& t) { t.overlay.skipButtons()[0]->click(); },
         BreakOutcome::completed},
        {"Snooze", 20, [](BreakOverlayTest& t) { t.overlay.snoozeButtons()[0]->click(); },
         BreakOutcome::snoozed},
        {"Esc twice, during the skip delay", 20,
         [](BreakOverlayTest& t) {
             t.fake.interceptorImpl.press(53);
             t.fake.queue.advance(0.3);
             t.fake.interceptorImpl.press(53);
             t.fake.queue.drain();
         },
         BreakOutcome::skipped},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        outcomes.clear();
        show(row.seconds, 0);
        row.act(*this);
        EXPECT_EQ(outcomes, std::vector{row.outcome});
        EXPECT_TRUE(overlay.panels().empty());
    }
}

TEST_F(BreakOverlayTest, KeysAreSwallowedAndCtrlAltEscGivesTheKeyboardBack)
{
    show(60, 5);
    EXPECT_TRUE(fake.interceptorImpl.press(0)) << "a letter is swallowed";
    fake.interceptorImpl.press(53, platform::KeyFlags::command);
    fake.queue.advance(0.2);
    fake.interceptorImpl.press(53, platform::KeyFlags::command);
    fake.queue.drain();
    EXPECT_TRUE(outcomes.empty()) << "Esc with Super counts for nothing";
    EXPECT_FALSE(fake.interceptorImpl.press(53, platform::KeyFlags::control | platform::KeyFlags::option));
    fake.queue.drain();
    EXPECT_FALSE(overlay.keyTap().isArmed());
    EXPECT_EQ(overlay.panels().size(), 2u) << "the break goes on";
}

TEST_F(BreakOverlayTest, OneCompletionAcrossDismissReplacementAndNoScreens)
{
    show(20, 0);
    overlay.dismiss();
    EXPECT_TRUE(overlay.panels().empty());
    EXPECT_FALSE(anyShown()) << "gone at once";
    show(20, 0);
    show(30, 0);
    EXPECT_EQ(overlay.countdownTexts().front(), QStringLiteral("00:30"));
    fake.queue.advance(31);
    EXPECT_EQ(outcomes, std::vector{BreakOutcome::completed}) << "the replaced break has no outcome";

    outcomes.clear();
    fake.displaysImpl.screenList.clear();
    show(20, 0);
    EXPECT_EQ(outcomes, std::vector{BreakOutcome::completed}) << "no screens: completed at once";
    EXPECT_FALSE(overlay.keyTap().isArmed());
}

TEST_F(BreakOverlayTest, EachPanelHasItsScreensCaptureAsBackdropOrPlainDark)
{
    // The second screen's capture fails.
    fake.screenCaptureImpl.images[QStringLiteral("b")] = QImage(10, 10, QImage::Format_RGB32);
    show(20, 0);
    ASSERT_EQ(overlay.panels().size(), 2u);
    EXPECT_EQ(fake.screenCaptureImpl.captureCount, 2);
    EXPECT_TRUE(static_cast<BreakPanel*>(overlay.panels()[0])->hasBackdrop());
    EXPECT_FALSE(static_cast<BreakPanel*>(overlay.panels()[1])->hasBackdrop())
        << "a wrong size is never stretched";
}

TEST_F(BreakOverlayTest, WithoutACompositorThePanelsComeAndGoAtOnce)
{
    fake.overlays.translucentWindows = false;
    show(20, 0);
    EXPECT_DOUBLE_EQ(overlay.panels()[0]->windowOpacity(), 1.0);
    overlay.snoozeButtons()[0]->click();
    EXPECT_FALSE(anyShown());
}

} // namespace
} // namespace quillon
