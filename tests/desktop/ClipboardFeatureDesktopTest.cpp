// Clipboard capture and the hold-Ctrl+V menu in a running quillon, typed
// through XTest into a line edit of the test's own.
#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/LineEdit.h"
#include "common/QuillonRun.h"
#include "common/Typist.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xEscape = 9, xCtrl = 37, xA = 38, xC = 54, xV = 55, xH = 43, xI = 31, xEnd = 115,
                  xDigit1 = 10;

TEST(ClipboardFeatureDesktop, CopiedTextIsStoredAndAHeldCtrlVPastesThePick)
{
    QUILLON_REQUIRE_DESKTOP();
    QTemporaryDir home;
    QuillonRun quillon(home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                            "clipboard.isEnabled": {"type": "bool", "value": true}})"));
    ASSERT_TRUE(quillon.start());
    ASSERT_TRUE(waitFor([&] { return quillon.log().contains("Clipboard activated"); }, 10000))
        << quillon.log().toStdString();
    quillon.waitForSettingsWindow();

    LineEdit edit;
    ASSERT_TRUE(waitFor([&] { return edit.ready; }, 10000));
    waitFor([] { return false; }, 500); // the window manager's focus settles

    Typist typist;
    typist.tap(xH);
    typist.tap(xI);
    ASSERT_TRUE(waitFor([&] { return edit.text == "hi"; }, 5000)) << edit.text.toStdString();
    // Select all and copy.
    typist.key(xCtrl, true);
    typist.tap(xA);
    typist.tap(xC);
    typist.key(xCtrl, false);
    const QString history = home.path() + "/data/Quillon/Clipboard.json";
    ASSERT_TRUE(waitFor(
        [&] {
            QFile file(history);
            return file.open(QIODevice::ReadOnly) && file.readAll().contains("\"hi\"");
        },
        5000))
        << quillon.log().toStdString();

    // Hold Ctrl+V past the hold time: the menu opens instead of a paste.
    typist.tap(xEnd);
    typist.key(xCtrl, true);
    // The paste tap arms when Ctrl goes down, one round trip later.
    waitFor([] { return false; }, 300);
    typist.key(xV, true);
    waitFor([] { return false; }, 600);
    typist.key(xV, false);
    typist.key(xCtrl, false);
    waitFor([] { return false; }, 300);
    EXPECT_EQ(edit.text, "hi") << "the held Ctrl+V pasted at once";
    typist.tap(xDigit1);
    EXPECT_TRUE(waitFor([&] { return edit.text == "hihi"; }, 5000)) << edit.text.toStdString();

    // A quick Ctrl+V pastes exactly once.
    typist.key(xCtrl, true);
    waitFor([] { return false; }, 300);
    typist.tap(xV);
    typist.key(xCtrl, false);
    EXPECT_TRUE(waitFor([&] { return edit.text == "hihihi"; }, 5000)) << edit.text.toStdString();
    waitFor([] { return false; }, 500);
    EXPECT_EQ(edit.text, "hihihi");

    // In the menu, a letter reaches the line edit and Escape closes it
    // without pasting.
    typist.key(xCtrl, true);
    waitFor([] { return false; }, 300);
    typist.key(xV, true);
    waitFor([] { return false; }, 600);
    typist.key(xV, false);
    typist.key(xCtrl, false);
    typist.tap(xA);
    EXPECT_TRUE(waitFor([&] { return edit.text == "hihihia"; }, 5000)) << edit.text.toStdString();
    typist.tap(xEscape);
    typist.tap(xDigit1);
    EXPECT_TRUE(waitFor([&] { return edit.text == "hihihia1"; }, 5000))
        << "the digit after Escape went to the menu: " << edit.text.toStdString();
}

} // namespace
