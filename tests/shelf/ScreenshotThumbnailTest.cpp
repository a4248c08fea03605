#include "shelf/ScreenshotThumbnail.h"

#include "app/AppDelegate.h"
#include "fakes/FakePlatform.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

class ScreenshotThumbnailTest : public ::testing::Test {
protected:
    ScreenshotThumbnailTest() { ScreenshotThumbnail::forgetClaim(); }
    ~ScreenshotThumbnailTest() override { ScreenshotThumbnail::forgetClaim(); }

    bool marker() { return fake.defaults.standard().boolForKey(SettingsKeys::shelfThumbnailHeldByUs); }
    void setMarker() { fake.defaults.standard().set(SettingsKeys::shelfThumbnailHeldByUs, true); }

    fakes::FakePlatform fake;
    fakes::FakeScreenshotPrefs& prefs = fake.screenshotPrefsImpl;
};

TEST_F(ScreenshotThumbnailTest, HoldsAndGivesBackOnlyWhatItTook)
{
    struct Row {
        const char* what;
        bool marker;
        std::optional<bool> before; // the thumbnail preference
        bool another;               // another instance runs at restore
        // after apply(true):
        bool claimed;
        bool markerAfterApply;
        // after restore():
        std::optional<bool> afterRestore;
        bool markerAfterRestore;
    };
    const Row rows[] = {
        {"default, taken and given back", false, std::nullopt, false, true, true, std::nullopt, false},
        {"shown, taken and given back", false, true, false, true, true, std::nullopt, false},
        {"the user's own off is left alone", false, false, false, false, false, false, false},
        {"an earlier run's holding is adopted", true, false, false, true, true, std::nullopt, false},
        {"an earlier holding the desktop lost", true, std::nullopt, false, true, true, std::nullopt, false},
        {"another instance keeps it held", false, std::nullopt, true, true, true, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScreenshotThumbnail::forgetClaim();
        fake.defaults.standard().remove(SettingsKeys::shelfThumbnailHeldByUs);
        if (row.marker)
            setMarker();
        prefs.value = row.before;
        fake.appShellImpl.anotherInstance = row.another;

        ScreenshotThumbnail::apply(true);
        EXPECT_EQ(prefs.value, std::optional<bool>(false));
        EXPECT_EQ(ScreenshotThumbnail::claimedHere(), row.claimed);
        EXPECT_EQ(marker(), row.markerAfterApply);
        ScreenshotThumbnail::apply(false);
        EXPECT_EQ(prefs.value, row.afterRestore);
        EXPECT_EQ(marker(), row.markerAfterRestore);
    }
}

TEST_F(ScreenshotThumbnailTest, AnUnknownPreferenceIsNeverWritten)
{
    prefs.known = false;
    ScreenshotThumbnail::apply(true);
    setMarker();
    ScreenshotThumbnail::apply(true);
    ScreenshotThumbnail::restore();
    EXPECT_EQ(prefs.writes, 0);
    EXPECT_FALSE(ScreenshotThumbnail::claimedHere());
    EXPECT_TRUE(marker()); // not ours to clear without the preference
}

TEST_F(ScreenshotThumbnailTest, QuittingRestoresOnlyAHoldingOfThisRun)
{
    struct Row {
        const char* what;
        bool claimed;
        bool another;
        bool restored;
    };
    const Row rows[] = {
        {"held by this run", true, false, true},
        {"held, another instance runs", true, true, false},
        {"a marker of an earlier run only", false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ScreenshotThumbnail::forgetClaim();
        fake.defaults.standard().remove(SettingsKeys::shelfThumbnailHeldByUs);
        prefs.value = std::nullopt;
        if (row.claimed)
            ScreenshotThumbnail::apply(true);
        else
            setMarker(), prefs.value = false;
        fake.appShellImpl.anotherInstance = row.another;
        AppDelegate delegate;
        delegate.applicationWillTerminate();
        EXPECT_EQ(marker(), !row.restored);
        EXPECT_EQ(prefs.value, row.restored ? std::nullopt : std::optional<bool>(false));
    }
}

} // namespace
} // namespace quillon
