// The feature leader in a running quillon: right Ctrl with right Alt held
// through XTest, as a person holds them.
#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::XcbReply;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xA = 38;

TEST(LeaderChord, FeatureLeaderShowsItsHintsAndItsAFlipsKeepAwake)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "snap.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }, 10000))
        << quillon.log().toStdString();

    Typist typist;
    XcbReply<xcb_get_geometry_reply_t> root(xcb_get_geometry_reply(
        typist.x().get(), xcb_get_geometry(typist.x().get(), typist.x().root()), nullptr));
    ASSERT_TRUE(root);
    const int centre = root->width / 2;
    // A bar at the top centre, wider than the notch: the hint row.
    auto hintsShown = [&] {
        for (const TopWindow& w : overrideRedirectWindows(typist.x())) {
            if (w.geometry.y() == 0 && w.geometry.left() < centre - 100 && w.geometry.right() > centre + 100)
                return true;
        }
        return false;
    };
    ASSERT_FALSE(hintsShown());

    const QString settingsFile = home.path() + "/config/Quillon/" QUILLON_APP_ID ".json";
    {
        HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        EXPECT_TRUE(waitFor(hintsShown, 5000)) << "no hint row after the hold delay";
        typist.tap(xA);
        EXPECT_TRUE(waitFor([&] { return storedBool(settingsFile, "awake.isEnabled") == true; }, 5000));
    }
    // The change went through the store's observers: reconcile switched it on.
    EXPECT_TRUE(waitFor([&] { return quillon.log().contains("Feature Awake: ON"); }, 5000))
        << quillon.log().toStdString();
    EXPECT_TRUE(waitFor([&] { return !hintsShown(); }, 5000)) << "the hints stayed after the release";
}

} // namespace
