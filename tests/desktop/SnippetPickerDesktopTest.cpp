// The snippet picker in a running quillon: opened with the leader chord over
// a line edit of the test's own, narrowed by typing, and pasting the pick.
#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/LineEditRun.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::Ewmh;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xRightCtrl = 105, xSemicolon = 47, xG = 42, xR = 27, xE = 26, xB = 56, xO = 32,
                  xReturn = 36, xEscape = 9, xTab = 23, xAlt = 64, xSuper = 133;

constexpr int pointerX = 300, pointerY = 200;

class SnippetPickerDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        QDir().mkpath(home.path() + "/data/Quillon");
        QFile file(home.path() + "/data/Quillon/Snippets.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"([{"id":"00000000-0000-0000-0000-000000000001","trigger":"b","body":"bee"},
                       {"id":"00000000-0000-0000-0000-000000000002","trigger":"a","body":"ay"},
                       {"id":"00000000-0000-0000-0000-000000000003","trigger":"c","body":"sea"},
                       {"id":"00000000-0000-0000-0000-000000000004","trigger":"greet","body":"Dear {cursor},"}])");
        file.close();
        ASSERT_TRUE(startOverLineEdit(home,
                                      QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                             "snippets.isEnabled": {"type": "bool", "value": true}})"),
                                      "Snippets activated", quillon, edit));
        typist.moveTo(pointerX, pointerY);
    }

    std::optional<QRect> picker()
    {
        for (const TopWindow& w : overrideRedirectWindows(typist.x()))
            if (w.geometry.width() == 340)
                return w.geometry;
        return std::nullopt;
    }

    void openPicker()
    {
        {
            HeldKeys leader(typist, {xRightCtrl});
            waitFor([] { return false; }, 300);
            typist.tap(xSemicolon);
        }
        ASSERT_TRUE(waitFor([&] { return picker().has_value(); }, 5000)) << quillon->log().toStdString();
    }

    void type(std::initializer_list<uint8_t> keys)
    {
        for (const uint8_t key : keys)
            typist.tap(key);
    }

    QTemporaryDir home;
    std::optional<QuillonRun> quillon;
    std::optional<LineEdit> edit;
    Typist typist;
};

TEST_F(SnippetPickerDesktop, TypingNarrowsAndReturnPastesWithTheCaretPlaced)
{
    Ewmh ewmh(typist.x());
    const auto active = ewmh.windowValue(typist.x().root(), "_NET_ACTIVE_WINDOW");
    openPicker();
    const QRect full = *picker();
    EXPECT_EQ(full.size(), QSize(340, 201));
    EXPECT_LE(std::abs(full.left() - (pointerX + 4)), 1) << full.left();
    EXPECT_LE(std::abs(full.top() - (pointerY + 4)), 1) << full.top();
    EXPECT_EQ(ewmh.windowValue(typist.x().root(), "_NET_ACTIVE_WINDOW"), active);

    // Letters typed with a modifier held join the query as well (chords
    // the window manager binds, such as Super+E, stay its own).
    {
        HeldKeys super(typist, {xSuper});
        typist.tap(xG);
    }
    {
        HeldKeys alt(typist, {xAlt});
        typist.tap(xR);
    }
    typist.tap(xE);
    ASSERT_TRUE(waitFor([&] { return picker() && picker()->height() == 99; }, 5000))
        << (picker() ? picker()->height() : -1) << quillon->log().toStdString();
    EXPECT_EQ(picker()->top(), full.top());
    EXPECT_EQ(edit->text, "") << "typed keys reached the line edit";

    typist.tap(xReturn);
    ASSERT_TRUE(waitFor([&] { return edit->text == "Dear ,"; }, 5000))
        << edit->text.toStdString() << quillon->log().toStdString();
    EXPECT_FALSE(picker().has_value());
    type({xB, xO, xB});
    EXPECT_TRUE(waitFor([&] { return edit->text == "Dear bob,"; }, 5000))
        << edit->text.toStdString() << quillon->log().toStdString();

    // Another client asking the clipboard finds the text with both marks, so
    // clipboard histories leave it out.
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QStringList formats = data->formats();
    EXPECT_TRUE(formats.contains("org.nspasteboard.TransientType")) << formats.join(' ').toStdString();
    EXPECT_TRUE(formats.contains("x-kde-passwordManagerHint")) << formats.join(' ').toStdString();
}

TEST_F(SnippetPickerDesktop, TabReachesTheWindowAndEscapeClickAndSwitchCloseWithoutInserting)
{
    openPicker();
    typist.tap(xTab);
    EXPECT_TRUE(waitFor([&] { return edit->tabs == 1; }, 5000)) << "the Tab never reached the line edit";
    EXPECT_TRUE(picker().has_value()) << "Tab closed the picker";

    typist.tap(xEscape);
    EXPECT_TRUE(waitFor([&] { return !picker().has_value(); }, 5000));

    // A click on the line edit closes it.
    openPicker();
    const std::optional<QPoint> centre = activeWindowCentre(typist.x());
    ASSERT_TRUE(centre);
    ASSERT_FALSE(picker()->contains(*centre));
    typist.moveTo(centre->x(), centre->y());
    typist.button(1, true);
    typist.button(1, false);
    EXPECT_TRUE(waitFor([&] { return !picker().has_value(); }, 5000));

    // Another window coming forward closes it.
    typist.moveTo(pointerX, pointerY);
    openPicker();
    LineEdit other;
    ASSERT_TRUE(waitFor([&] { return other.ready; }, 10000));
    EXPECT_TRUE(waitFor([&] { return !picker().has_value(); }, 5000));
    EXPECT_EQ(edit->text, "");
    EXPECT_EQ(other.text, "");
}

} // namespace
