#include "UiFixture.h"

#include "features/clipboard/ClipboardFeature.h"
#include "notch/BarTexts.h"
#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "settings/SettingsKeys.h"
#include "support/Log.h"
#include "ui/Onboarding.h"

namespace quillon {
namespace {

using P = SettingsPane;

struct OnboardingDemos : ::testing::Test, testing::UiFixture {
    OnboardingDemos() { NotchGeometry::drawsWithoutNotch = true; }
    ~OnboardingDemos() override
    {
        app->notch().deactivate();
        NotchGeometry::drawsWithoutNotch = true;
    }
    NotchController& controller() { return app->notch().controller(); }
    void run(SettingsPane pane)
    {
        const auto demo = OnboardingDemo::demo(pane);
        ASSERT_TRUE(demo) << pane.rawValue().toStdString();
        demo->run(*model);
    }
    QStringList hints()
    {
        const auto& mount = controller().hintMount();
        return mount ? testing::barTexts(mount->bar()) : QStringList();
    }
    QStringList chip()
    {
        const auto& mount = controller().chipMount();
        return mount ? testing::barTexts(mount->bar()) : QStringList();
    }
};

TEST_F(OnboardingDemos, TableOfPanes)
{
    for (const SettingsPane pane : {P::gettingStarted, P::general, P::shelf, P::focus, P::notch, P::about})
        EXPECT_FALSE(OnboardingDemo::demo(pane)) << pane.rawValue().toStdString();
    const std::tuple<SettingsPane, bool, const char*> cases[] = {
        {P::snap, false, "the real one, from holding Super+Alt."},
        {P::jump, false, "each on the letter that jumps to it"},
        {P::colorPicker, false, "already copied"},
        {P::clipboard, true, "the same one hold-Ctrl+V opens."},
        {P::snippets, true, "press ⏎, the text is pasted"},
        {P::ocr, true, "Esc cancels"},
        {P::breaks, false, "Esc twice leaves early"},
        {P::swipe, false, "Which desktop you landed on"},
        {P::awake, false, "A running session"},
        {P::sweep, false, "never happens silently"},
        {P::autoQuit, false, "never happens silently"},
    };
    for (const auto& [pane, needsOn, watch] : cases) {
        const auto demo = OnboardingDemo::demo(pane);
        ASSERT_TRUE(demo) << pane.rawValue().toStdString();
        EXPECT_EQ(demo->needsFeatureOn, needsOn) << pane.rawValue().toStdString();
        EXPECT_TRUE(demo->watchFor.contains(QString::fromUtf8(watch))) << demo->watchFor.toStdString();
    }
}

TEST_F(OnboardingDemos, SnapHintsBadgeTheArrowKeysAndGoByThemselves)
{
    app->notch().activate();
    run(P::snap);
    EXPECT_EQ(hints(), (QStringList{"←", "Left", "→", "Right", "↑", "Top", "↓", "Bottom",
                                    "snap · release to place"}));
    fake.queue.advance(OnboardingDemo::chipDuration + 1);
    EXPECT_FALSE(controller().hintMount()) << "no chord is held, so the row must go by itself";

    // The notch's snap hints switched off: nothing.
    settings().set(false, SettingsKeys::notchSnapHints);
    run(P::snap);
    EXPECT_FALSE(controller().hintMount());
}

TEST_F(OnboardingDemos, ChipsOnlyWhileTheNotchIsOn)
{
    for (const SettingsPane pane : {P::colorPicker, P::awake, P::sweep, P::snap, P::swipe}) {
        run(pane);
        EXPECT_FALSE(controller().chipMount()) << pane.rawValue().toStdString();
        EXPECT_FALSE(controller().hintMount()) << pane.rawValue().toStdString();
    }
    app->notch().activate();
    run(P::colorPicker);
    EXPECT_TRUE(chip().contains("#5B5BD6")) << chip().join('|').toStdString();
    fake.queue.advance(OnboardingDemo::chipDuration + 1);
    EXPECT_FALSE(controller().chipMount()) << "a chip lasts 2.5 s";

    run(P::sweep);
    EXPECT_FALSE(controller().chipMount()) << "quit chips are off unless switched on";
    settings().set(true, SettingsKeys::sweepQuitChips);
    run(P::sweep);
    EXPECT_TRUE(chip().join(' ').contains("Preview")) << chip().join('|').toStdString();
    fake.queue.advance(OnboardingDemo::chipDuration + 1);
    settings().set(false, SettingsKeys::sweepQuitChips);
    run(P::autoQuit);
    EXPECT_FALSE(controller().chipMount()) << "quit chips switched off";
}

TEST_F(OnboardingDemos, FeatureDemosNeedTheFeatureActive)
{
    Log::isDebugEnabled = true;
    ASSERT_FALSE(app->clipboard().isActive());
    run(P::clipboard);
    EXPECT_FALSE(fake.log.contains("Clipboard: picker opened"));
    app->clipboard().activate();
    run(P::clipboard);
    EXPECT_TRUE(fake.log.contains("Clipboard: picker opened"));
    app->clipboard().deactivate();
    Log::isDebugEnabled = false;
}

} // namespace
} // namespace quillon
