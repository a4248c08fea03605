// The feature leader in a running quillon: right Ctrl with right Alt held
// through XTest, as a person holds them.
#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::XcbReply;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xRightCtrl = 105, xRightAlt = 108, xA = 38, xT = 28, xE = 26, xC = 54, xS = 39;

TEST(LeaderChord, FeatureLeaderShowsItsHintsAndItsAFlipsKeepAwake)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "snap.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }))
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
        EXPECT_TRUE(waitFor([&] { return storedBool(settingsFile, "awake.isEnabled") == true; }));
    }
    // The change went through the store's observers: reconcile switched it on.
    EXPECT_TRUE(waitFor([&] { return quillon.log().contains("Feature Awake: ON"); }))
        << quillon.log().toStdString();
    EXPECT_TRUE(waitFor([&] { return !hintsShown(); })) << "the hints stayed after the release";
}

// Another program holds Ctrl+Alt+T (as desktops bind it to a terminal): the
// chord cannot be ours, so its tile is left out and the log says why, once.
TEST(LeaderChord, AChordAnotherProgramHoldsIsLeftOutOfTheHints)
{
    QUILLON_REQUIRE_DESKTOP();
    Typist typist;
    xcb_connection_t* other = typist.x().get();
    const uint16_t mods = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    xcb_grab_key(other, 0, typist.x().root(), mods, xT, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_flush(other);

    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "ocr.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }))
        << quillon.log().toStdString();
    auto tileLines = [&] {
        QStringList lines;
        for (const QString& line : quillon.log().split('\n')) {
            if (line.contains("LeaderWatcher: hint tiles:"))
                lines << line.section("hint tiles:", 1).trimmed();
        }
        return lines;
    };
    QString errors;
    for (int round = 0; round < 2; ++round) {
        HeldKeys leader(typist, {xRightCtrl, xRightAlt});
        ASSERT_TRUE(waitFor([&] { return tileLines().size() == round + 1; }))
            << quillon.log().toStdString();
    }
    for (const QString& tiles : tileLines()) {
        EXPECT_TRUE(tiles.split(' ').contains("A")) << tiles.toStdString();
        EXPECT_FALSE(tiles.split(' ').contains("T")) << tiles.toStdString();
    }
    quillon.process.terminate();
    quillon.process.waitForFinished(10000);
    errors = QString::fromUtf8(quillon.process.readAllStandardError());
    EXPECT_EQ(errors.count("Keys: right Ctrl + right Alt + T is held by another program; that chord is "
                           "unavailable"),
              1)
        << errors.toStdString();
    xcb_ungrab_key(other, xT, typist.x().root(), mods);
    xcb_flush(other);
}

// With only the notch on, nothing is served under right Alt or under right
// Ctrl alone: typing with them reaches the focused window as if quillon were
// not running — no grab, so no focus change either.
TEST(LeaderChord, KeysNobodyServesReachTheFocusedWindowUntouched)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun quillon(home, true);
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Feature Notch: ON"); }))
        << quillon.log().toStdString();

    QProcess window;
    window.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-keywindow"), {});
    QStringList lines;
    auto readLines = [&] {
        while (window.canReadLine())
            lines << QString::fromUtf8(window.readLine()).trimmed();
    };
    ASSERT_TRUE(waitFor([&] {
        readLines();
        return !lines.filter("ready").isEmpty();
    }));
    // Quillon may still put up a window of its own at start: once it has
    // settled, the key window takes the focus back, and only what comes after
    // counts.
    waitFor([] { return false; }, 1000);
    const QString id = lines.filter("ready").first().section(' ', 1, 1);
    QProcess::execute("xdotool", {"windowactivate", "--sync", id});
    waitFor([] { return false; }, 300);
    readLines();
    lines.clear();
    Typist typist;
    for (const auto& [leader, letter] : {std::pair{xRightAlt, xE}, std::pair{xRightCtrl, xC}}) {
        typist.key(leader, true);
        typist.tap(letter);
        typist.key(leader, false);
    }
    typist.tap(xS);
    ASSERT_TRUE(waitFor([&] {
        readLines();
        return !lines.filter(QStringLiteral("release %1 ").arg(xS)).isEmpty();
    })) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral("press %1 ").arg(xE)).size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter(QStringLiteral("press %1 ").arg(xC)).size(), 1) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.filter("focus-").isEmpty()) << lines.join('\n').toStdString();
    window.kill();
    window.waitForFinished();
}

} // namespace
