#include "features/focus/FocusFeature.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include "settings/SettingsKeys.h"

#include "fakes/FakeWindowServer.h"
#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>
#include <limits>

namespace quillon {
namespace {

TEST(FocusFeature, AppliedAlphaIsClampedAndNotANumberIsIgnored)
{
    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    FocusFeature feature(settings);
    struct Row {
        double given;
        double taken;
    };
    const Row table[] = {{0.45, 0.45},
                         {-0.2, 0.0},
                         {7.0, 1.0},
                         {std::numeric_limits<double>::quiet_NaN(), 1.0},
                         {-std::numeric_limits<double>::infinity(), 0.0}};
    for (const Row& row : table) {
        SCOPED_TRACE(row.given);
        feature.applyAlpha(row.given);
        EXPECT_DOUBLE_EQ(feature.alpha(), row.taken);
    }
}

platform::RunningApp app(int32_t pid, bool active)
{
    platform::RunningApp a;
    a.pid = pid;
    a.name = QStringLiteral("App %1").arg(pid);
    a.regular = true;
    a.active = active;
    return a;
}

/// App 5 in front with window 101 over app 7's window 102, on one screen.
/// (Window ids stay clear of the offscreen platform's own small ones.)
class FocusFeatureActive : public ::testing::Test {
protected:
    FocusFeatureActive()
    {
        fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        fake.workspaceImpl.apps = {app(5, true), app(7, false)};
        fake.windowServerImpl.list = std::vector{fakes::listedWindow(5, 101, QRectF(100, 100, 600, 400)),
                                                 fakes::listedWindow(7, 102, QRectF(200, 200, 600, 400))};
    }

    fakes::FakeOverlayWindows::Record overlay(std::size_t i)
    {
        const auto windows = feature.overlays();
        EXPECT_GT(windows.size(), i);
        const auto* record = i < windows.size() ? fake.overlays.find(windows[i]) : nullptr;
        return record ? *record : fakes::FakeOverlayWindows::Record{};
    }
    int listReads() const { return fake.windowServerImpl.calls; }

    fakes::FakePlatform fake;
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    FocusFeature feature{settings};
};

TEST_F(FocusFeatureActive, OverlaysOnePerScreenLieAboveTheTopmostDimmedWindow)
{
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 25, "second"));
    fake.windowServerImpl.list->push_back(fakes::listedWindow(7, 103, QRectF(1600, 100, 600, 400)));
    feature.activate();
    ASSERT_EQ(feature.overlays().size(), 2u);
    const auto first = overlay(0);
    EXPECT_TRUE(first.shown);
    EXPECT_TRUE(first.style.clickThrough);
    EXPECT_TRUE(first.style.captureExcluded);
    EXPECT_EQ(first.frame, QRectF(0, 0, 1440, 900));
    EXPECT_EQ(first.above, 102u);
    EXPECT_EQ(overlay(1).above, 103u);

    // Another window takes the front: the overlay goes above the old one.
    fake.windowServerImpl.list = std::vector{fakes::listedWindow(7, 102, QRectF(200, 200, 600, 400)),
                                             fakes::listedWindow(5, 101, QRectF(100, 100, 600, 400))};
    fake.workspaceImpl.apps = {app(5, false), app(7, true)};
    fake.workspaceImpl.send(platform::AppNotice::activated, app(7, true));
    EXPECT_EQ(overlay(0).above, 101u);
    EXPECT_TRUE(overlay(1).atBack);

    feature.deactivate();
    EXPECT_TRUE(feature.overlays().empty());
    EXPECT_TRUE(fake.overlays.shownWindows().empty());
    const int reads = listReads();
    fake.workspaceImpl.send(platform::AppNotice::activated, app(5, true));
    fake.queue.advance(5);
    EXPECT_EQ(listReads(), reads);
}

TEST_F(FocusFeatureActive, SettlePassesFollowEachEventAndTheLongListOnlyWhileWindowless)
{
    struct Row {
        const char* name;
        bool windowless;
        int settles;
    };
    for (const Row& row :
         {Row{"front app with a window", false, 2}, Row{"front app without windows", true, 7}}) {
        SCOPED_TRACE(row.name);
        fakes::FakePlatform local;
        local.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900))};
        local.workspaceImpl.apps = {app(row.windowless ? 9 : 5, true)};
        local.windowServerImpl.list = std::vector{fakes::listedWindow(5, 101, QRectF(100, 100, 600, 400))};
        Settings localSettings{local.defaults, QStringLiteral("app.quillon.Quillon")};
        FocusFeature focus(localSettings);
        focus.activate();
        // The new observer's first report reorders from within the first
        // pass; its settle passes are replaced by the outer ones.
        EXPECT_EQ(local.windowServerImpl.calls, 2);
        local.queue.advance(10);
        EXPECT_EQ(local.windowServerImpl.calls, 2 + row.settles);
    }
}

TEST_F(FocusFeatureActive, ANewEventCancelsTheEarlierSettlePasses)
{
    feature.activate();
    fake.queue.advance(0.1);
    const int before = listReads();
    fake.spacesImpl.set(true, 2, 4);
    EXPECT_EQ(listReads(), before + 1);
    fake.queue.advance(10);
    EXPECT_EQ(listReads(), before + 1 + 2);
    // An application minimised whole, or restored, is such an event too.
    fake.workspaceImpl.send(platform::AppNotice::hidden, app(7, false));
    fake.workspaceImpl.send(platform::AppNotice::unhidden, app(7, false));
    EXPECT_EQ(listReads(), before + 3 + 2);
}

TEST_F(FocusFeatureActive, AlphaReachesTheOverlaysOnlyWhileActive)
{
    settings.set(0.5, SettingsKeys::focusAlpha);
    feature.applyAlpha(0.8);
    feature.activate();
    // Built with the stored strength, not the one pushed while inactive.
    EXPECT_DOUBLE_EQ(feature.alpha(), 0.5);
    const auto darkness = [&] {
        QWidget* w = feature.overlays().front();
        return w->grab().toImage().pixelColor(5, 5).alphaF();
    };
    EXPECT_NEAR(darkness(), 0.5, 0.01);
    feature.applyAlpha(0.25);
    EXPECT_NEAR(darkness(), 0.25, 0.01);
}

TEST_F(FocusFeatureActive, CompositorLostDropsOverlaysAndRegainedRebuildsThem)
{
    fake.overlays.translucentWindows = false;
    feature.activate();
    EXPECT_TRUE(feature.isActive());
    EXPECT_TRUE(feature.overlays().empty());

    fake.overlays.setTranslucent(true);
    ASSERT_EQ(feature.overlays().size(), 1u);
    EXPECT_EQ(overlay(0).above, 102u);

    fake.overlays.setTranslucent(false);
    EXPECT_TRUE(feature.overlays().empty());
    EXPECT_TRUE(fake.overlays.shownWindows().empty());
    fake.queue.advance(10);
    EXPECT_TRUE(fake.overlays.shownWindows().empty());
}

TEST_F(FocusFeatureActive, AWindowGoneBeforeTheRestackIsSkippedAndTheOthersPlaced)
{
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 25, "second"));
    fake.windowServerImpl.list->push_back(fakes::listedWindow(7, 103, QRectF(1600, 100, 600, 400)));
    fake.overlays.goneClients = {102};
    feature.activate();
    ASSERT_EQ(feature.overlays().size(), 2u);
    EXPECT_TRUE(overlay(0).atBack);
    EXPECT_EQ(overlay(1).above, 103u);
}

TEST_F(FocusFeatureActive, AScreenAddedRebuildsOneOverlayPerScreen)
{
    feature.activate();
    ASSERT_EQ(feature.overlays().size(), 1u);
    fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900)),
                                  fakes::makeScreen(QRectF(1440, 0, 1920, 1080), 25, "b")});
    EXPECT_EQ(feature.overlays().size(), 2u);
    EXPECT_EQ(fake.overlays.shownWindows().size(), 2u);
}

TEST_F(FocusFeatureActive, TheFocusedWindowIsLitWhenItsFrameMatchesAListedOne)
{
    // App 5's second window (104) is focused, behind its first: the first stays
    // bright, the overlay goes above app 7's window.
    fake.windowServerImpl.list = std::vector{fakes::listedWindow(5, 101, QRectF(100, 100, 600, 400)),
                                             fakes::listedWindow(5, 104, QRectF(300, 300, 600, 400)),
                                             fakes::listedWindow(7, 102, QRectF(200, 200, 600, 400))};
    fake.windowControlImpl.table = {
        {104, 5, platform::WindowKind::standard, std::nullopt, QRectF(301, 299, 600, 400)}};
    fake.windowControlImpl.mainWindows[5] = 104;
    feature.activate();
    EXPECT_EQ(overlay(0).above, 102u);
    // Off by 2.0: no match, the frontmost window 101 is lit and 104 dims.
    fake.windowControlImpl.table[0].frame = QRectF(302, 300, 600, 400);
    fake.spacesImpl.set(true, 2, 4);
    EXPECT_EQ(overlay(0).above, 104u);
}

} // namespace
} // namespace quillon
