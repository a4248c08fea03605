#include "UiFixture.h"

#include "app/FeatureRegistry.h"

namespace quillon {
namespace {

struct SettingsModelTest : ::testing::Test, testing::UiFixture {
    SettingsModelTest()
    {
        QObject::connect(model.get(), &SettingsModel::changed, [this] { ++changes; });
        model->onRefresh = [this] { ++refreshes; };
    }
    int changes = 0;
    int refreshes = 0;
};

TEST_F(SettingsModelTest, ChangesInOneTurnRedrawOnce)
{
    settings().setSnapEnabled(true);
    settings().setJumpHideOnRepeat(true);
    settings().setNotchMaxHintItems(6);
    model->refresh();
    EXPECT_EQ(changes, 0) << "nothing before the queue turns";
    fake.queue.drain();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(refreshes, 1);

    // The next turn redraws again.
    settings().setSnapEnabled(false);
    fake.queue.drain();
    EXPECT_EQ(changes, 2);
}

TEST_F(SettingsModelTest, RefreshWhileQueuedPostsNothingMore)
{
    model->refresh();
    const int pending = fake.queue.pendingCount();
    model->refresh();
    model->refresh();
    EXPECT_EQ(fake.queue.pendingCount(), pending);
}

TEST_F(SettingsModelTest, PausedModelHearsNothing)
{
    model->pause();
    EXPECT_FALSE(model->isObserving());
    settings().setSnapEnabled(true);
    fake.queue.drain();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(refreshes, 0);
}

TEST_F(SettingsModelTest, ResumeTwiceObservesOnceAndRedrawsOnce)
{
    model->pause();
    model->resume();
    model->resume();
    EXPECT_TRUE(model->isObserving());
    fake.queue.drain();
    EXPECT_EQ(changes, 1);

    // A second observer would make two redraws over two turns.
    settings().setSnapEnabled(true);
    fake.queue.drain();
    EXPECT_EQ(changes, 2);

    // Only one entry to remove: after a pause nothing is heard.
    model->pause();
    settings().setSnapEnabled(false);
    fake.queue.drain();
    EXPECT_EQ(changes, 2);
}

TEST_F(SettingsModelTest, DestroyedModelSendsNothing)
{
    int after = 0;
    {
        auto doomed = std::make_unique<SettingsModel>(features());
        QObject::connect(doomed.get(), &SettingsModel::changed, [&after] { ++after; });
        doomed->onRefresh = [&after] { ++after; };
        settings().setSnapEnabled(true);
    }
    fake.queue.drain();
    EXPECT_EQ(after, 0);
    // Its observer went with it: a later change reaches no dead handler.
    settings().setSnapEnabled(false);
    fake.queue.drain();
    EXPECT_EQ(after, 0);
}

TEST_F(SettingsModelTest, RefreshDuringRedrawSchedulesNothing)
{
    // A pane that writes or refreshes from its reload must not loop.
    QObject::connect(model.get(), &SettingsModel::changed, [this] {
        model->refresh();
        settings().setJumpHideOnRepeat(!settings().jumpHideOnRepeat());
    });
    model->refresh();
    fake.queue.drain();
    fake.queue.drain();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fake.queue.pendingCount(), 0);
}

TEST_F(SettingsModelTest, CarriesTheWindowsCallbacks)
{
    EXPECT_EQ(model->targetPID(), std::nullopt);
    EXPECT_FALSE(model->onWalkthroughFinished);
    EXPECT_FALSE(model->onRestartWalkthrough);
    EXPECT_EQ(&model->features.settings, &settings());
}

TEST_F(SettingsModelTest, BindReadsAndWritesTheStoreEachTime)
{
    const Binding<qint64> items =
        model->bind(Settings::KeyPath<qint64>{&Settings::notchMaxHintItems, &Settings::setNotchMaxHintItems});
    settings().setNotchMaxHintItems(8);
    EXPECT_EQ(items.get(), 8);
    items.set(12);
    EXPECT_EQ(settings().defaults().integerForKey(SettingsKeys::notchMaxHintItems), 12);

    const Binding<Settings::SpaceFeedback> feedback = model->bind(
        Settings::KeyPath<Settings::SpaceFeedback>{&Settings::spaceFeedback, &Settings::setSpaceFeedback});
    feedback.set(Settings::SpaceFeedback::onScreen);
    EXPECT_EQ(settings().spaceFeedback(), Settings::SpaceFeedback::onScreen);
    EXPECT_FALSE(settings().defaults().boolForKey(SettingsKeys::notchSpaceNumber));
}

// Which panes ask for Accessibility when switched on without it: those whose
// feature needs it, and those with a right-hand leader shortcut.
TEST_F(SettingsModelTest, MasterSwitchPromptsAsTheFeatureNeeds)
{
    const QSet<SettingsPane> prompting{
        SettingsPane::snap,  SettingsPane::jump,  SettingsPane::clipboard, SettingsPane::snippets,
        SettingsPane::ocr,   SettingsPane::shelf, SettingsPane::focus,     SettingsPane::breaks,
        SettingsPane::swipe, SettingsPane::awake, SettingsPane::sweep,
    };
    for (const SettingsPane pane : SettingsPane::allCases()) {
        for (const bool granted : {true, false}) {
            for (const bool on : {true, false}) {
                SCOPED_TRACE(pane.rawValue().toStdString() + (granted ? " granted" : " missing") +
                             (on ? " on" : " off"));
                setTrusted(granted);
                const auto path = pane.enabledKeyPath();
                if (path)
                    path->set(settings(), !on);
                const int before = fake.permissionsImpl.accessibilityRequests;
                model->master(pane).set(on);
                const bool asked = fake.permissionsImpl.accessibilityRequests > before;
                EXPECT_EQ(asked, on && !granted && prompting.contains(pane));
                EXPECT_EQ(model->master(pane).get(), path ? on : false);
            }
        }
    }
}

TEST_F(SettingsModelTest, PanesWithoutASwitchIgnoreWrites)
{
    for (const SettingsPane pane :
         {SettingsPane::gettingStarted, SettingsPane::general, SettingsPane::notch, SettingsPane::about}) {
        model->master(pane).set(true);
        EXPECT_FALSE(model->master(pane).get()) << pane.rawValue().toStdString();
    }
    fake.queue.drain();
    EXPECT_EQ(changes, 0) << "nothing was written";
}

} // namespace
} // namespace quillon
