#include "BuildInfoValues.h"
#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace quillon {
namespace {

using platform::linux_::Ewmh;
using platform::linux_::X11Connection;
using platform::linux_::XcbReply;
using testing::waitFor;

QString xdotool(const QStringList& arguments)
{
    return testing::run("xdotool", arguments).section('\n', 0, 0).trimmed();
}

/// The visible window of the process titled `title`; empty when none.
QString windowOf(const QProcess& process, const QString& title)
{
    return xdotool({"search", "--onlyvisible", "--pid", QString::number(process.processId()), "--name",
                    "^" + title + "$"});
}

/// Types "clip" into the sidebar's search and picks the one feature row
/// left at the top: Clipboard.
void pickClipboardThroughTheSearch(xcb_window_t window)
{
    const QString id = QString::number(window);
    xdotool({"mousemove", "--window", id, "100", "23", "click", "1"});
    xdotool({"type", "--delay", "30", "clip"});
    xdotool({"mousemove", "--window", id, "100", "120", "click", "1"});
}

/// A running Quillon whose settings window is closed, and a way to open it
/// again the way a person does: by launching it once more.
struct SettingsWindowRun {
    SettingsWindowRun()
        : quillon(home, true)
    {
    }
    bool start()
    {
        if (!quillon.start())
            return false;
        if (!waitFor([&] {
                return QDBusConnection::sessionBus().interface()->servicePid(QUILLON_APP_ID).value() ==
                       uint(quillon.process.processId());
            }))
            return false;
        // With no tray host the window opens at launch: close it first.
        if (quillon.waitForSettingsWindow())
            close("General");
        return true;
    }
    void close(const QString& title)
    {
        const QString shown = windowOf(quillon.process, title);
        ASSERT_FALSE(shown.isEmpty());
        xdotool({"windowactivate", "--sync", shown});
        xdotool({"key", "--clearmodifiers", "ctrl+w"});
        ASSERT_TRUE(waitFor([&] { return windowOf(quillon.process, title).isEmpty(); }));
    }
    /// Launches again; the running one shows the window. Answers its id.
    std::optional<xcb_window_t> reopen(const QString& title)
    {
        testing::QuillonRun second(home, true);
        if (!second.start() || !second.process.waitForFinished(10000))
            return std::nullopt;
        QString shown;
        if (!waitFor([&] { return !(shown = windowOf(quillon.process, title)).isEmpty(); }))
            return std::nullopt;
        return xcb_window_t(shown.toUInt());
    }

    QTemporaryDir home;
    testing::QuillonRun quillon;
};

TEST(SettingsWindowDesktop, ASecondLaunchShowsGeneralFixedInFrontWithTheFocus)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);
    SettingsWindowRun run;
    ASSERT_TRUE(run.start());
    testing::TestWindows other({"--title", "Other Window"});
    ASSERT_EQ(other.ids.size(), 1u);
    xdotool({"windowactivate", "--sync", QString::number(other.ids.front())});

    const auto window = run.reopen("General");
    ASSERT_TRUE(window) << run.quillon.log().toStdString();
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x->get(), xcb_get_geometry(x->get(), *window), nullptr));
    ASSERT_TRUE(geometry);
    EXPECT_EQ(QSize(geometry->width, geometry->height), QSize(868, 648));
    const QString hints = testing::run("xprop", {"-id", QString::number(*window), "WM_NORMAL_HINTS"});
    EXPECT_TRUE(hints.contains("minimum size: 868 by 648")) << hints.toStdString();
    EXPECT_TRUE(hints.contains("maximum size: 868 by 648")) << hints.toStdString();

    EXPECT_TRUE(waitFor([&] { return ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW") == *window; }))
        << "the settings window did not get the focus";
    const auto stacking = ewmh.clientList(true);
    ASSERT_TRUE(stacking);
    const auto position = [&](xcb_window_t w) { return std::find(stacking->begin(), stacking->end(), w); };
    ASSERT_NE(position(other.ids.front()), stacking->end());
    EXPECT_GT(position(*window), position(other.ids.front())) << "not above the other window";

    // Typing in the search leaves Clipboard among the features.
    pickClipboardThroughTheSearch(*window);
    EXPECT_TRUE(waitFor([&] { return !windowOf(run.quillon.process, "Clipboard").isEmpty(); }))
        << "the Clipboard row was not where the filtered sidebar puts it";
}

TEST(SettingsWindowDesktop, ReopenedOnAnotherDesktopItComesThereWithItsPane)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    Ewmh ewmh(*x);
    SettingsWindowRun run;
    ASSERT_TRUE(run.start());
    const auto first = run.reopen("General");
    ASSERT_TRUE(first);
    pickClipboardThroughTheSearch(*first);
    ASSERT_TRUE(waitFor([&] { return !windowOf(run.quillon.process, "Clipboard").isEmpty(); }));
    run.close("Clipboard");

    const QString before = xdotool({"get_desktop"});
    xdotool({"set_desktop", "2"});
    ASSERT_TRUE(waitFor([&] { return xdotool({"get_desktop"}) == "2"; }));
    const auto again = run.reopen("Clipboard");
    ASSERT_TRUE(again) << "the pane was not kept";
    EXPECT_TRUE(waitFor([&] { return ewmh.cardinal(*again, "_NET_WM_DESKTOP") == 2u; }))
        << "the window stayed on the desktop it was closed on";
    EXPECT_EQ(xdotool({"get_desktop"}), "2");
    EXPECT_TRUE(waitFor([&] { return ewmh.windowValue(x->root(), "_NET_ACTIVE_WINDOW") == *again; }));
    xdotool({"set_desktop", before.isEmpty() ? "0" : before});
}

} // namespace
} // namespace quillon
