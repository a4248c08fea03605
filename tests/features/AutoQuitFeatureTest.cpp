#include "features/autoquit/AutoQuitFeature.h"
#include "SweepFixture.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

constexpr int32_t kEditor = 100; // in front at the start
constexpr int32_t kViewer = 200;
constexpr int32_t kPlayer = 300;

struct AutoQuitRig : testing::QuitFixture {
    AutoQuitRig()
    {
        fake.workspaceImpl.apps.push_back(app(kPlayer, "org.example.Player", "Player", false));
        settings.setAutoQuitMinutes(10);
    }
    void listOnly(const QStringList& ids) { setList(SettingsKeys::autoQuitApps, ids); }
    void advanceMinutes(double minutes) { fake.queue.advance(minutes * 60); }

    AutoQuitFeature feature{settings};
};

TEST(AutoQuitFeature, ArmCancelAndFireSequences)
{
    struct Row {
        const char* name;
        std::function<void(AutoQuitRig&)> script;
        std::vector<int32_t> quit;
    };
    const Row table[] = {
        {"the registered defaults quit nothing",
         [](AutoQuitRig& r) {
             r.settings.defaults().remove(SettingsKeys::autoQuitMinutes);
             r.feature.activate();
             r.bringToFront(kViewer);
             r.advanceMinutes(24 * 60);
         },
         {}},
        {"a background app quits when its idle time is up, not before",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.advanceMinutes(9.99);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.advanceMinutes(0.01);
         },
         {kViewer}},
        {"0 minutes counts as 1",
         [](AutoQuitRig& r) {
             r.settings.setAutoQuitMinutes(0);
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.advanceMinutes(0.99);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.advanceMinutes(0.01);
             EXPECT_EQ(r.infoLines(QStringLiteral("AutoQuit: quitting org.example.Viewer after 1m idle")), 1);
         },
         {kViewer}},
        {"the front app is not armed until it is deactivated",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Editor"});
             r.feature.activate();
             r.advanceMinutes(30);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.bringToFront(kPlayer);
             r.advanceMinutes(10);
         },
         {kEditor}},
        {"coming back within the idle time disarms; leaving again starts afresh",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Editor"});
             r.feature.activate();
             r.bringToFront(kPlayer);
             r.advanceMinutes(9);
             r.bringToFront(kEditor);
             r.advanceMinutes(20);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.bringToFront(kPlayer);
             r.advanceMinutes(9.5);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.advanceMinutes(0.5);
         },
         {kEditor}},
        {"lowering the minutes keeps running deadlines",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.settings.setAutoQuitMinutes(1);
             r.feature.applySettings();
             r.advanceMinutes(9);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty());
             r.advanceMinutes(1);
         },
         {kViewer}},
        {"a list-mode switch re-evaluates every timer at once",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.advanceMinutes(5);
             r.setString(SettingsKeys::autoQuitListMode, QStringLiteral("excludeListed"));
             r.setList(SettingsKeys::autoQuitExcludedApps, {"org.example.Viewer"});
             r.feature.applySettings();
             EXPECT_FALSE(r.feature.isArmed(kViewer));
             EXPECT_TRUE(r.feature.isArmed(kPlayer));
             r.advanceMinutes(9.9);
             EXPECT_TRUE(r.fake.workspaceImpl.quitted.empty())
                 << "the player's idle time began at the switch";
             r.advanceMinutes(0.1);
         },
         {kPlayer}},
        {"an app that ends is forgotten",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.terminate(kViewer);
             r.advanceMinutes(60);
         },
         {}},
        {"an app that came forward unnoticed is not quit",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer"});
             r.feature.activate();
             r.find(kViewer)->active = true;
             r.advanceMinutes(60);
         },
         {}},
        {"the file manager is never armed",
         [](AutoQuitRig& r) {
             r.setString(SettingsKeys::autoQuitListMode, QStringLiteral("excludeListed"));
             r.fake.appDirectoryImpl.fileManager = QStringLiteral("org.example.Player");
             r.feature.activate();
             r.advanceMinutes(10);
         },
         {kViewer}},
        {"switching off cancels every timer",
         [](AutoQuitRig& r) {
             r.listOnly({"org.example.Viewer", "org.example.Player"});
             r.feature.activate();
             r.feature.deactivate();
             r.bringToFront(kViewer);
             r.advanceMinutes(60);
         },
         {}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        AutoQuitRig rig;
        row.script(rig);
        EXPECT_EQ(rig.fake.workspaceImpl.quitted, row.quit);
    }
}

} // namespace
} // namespace quillon
