#include "common/Desktop.h"
#include "common/HeldKeys.h"
#include "common/QuillonRun.h"
#include "common/Service.h"
#include "common/TopWindows.h"
#include "platform/linux/X11Connection.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRgb>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace quillon::platform::linux_;

namespace {

xcb_window_t selectionOwner(X11Connection& x, const char* selection)
{
    const auto cookie = xcb_get_selection_owner(x.get(), x.atom(selection));
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> reply(
        xcb_get_selection_owner_reply(x.get(), cookie, nullptr), &std::free);
    return reply ? reply->owner : XCB_NONE;
}

/// The class part of WM_CLASS ("Quillon" of "quillon\0Quillon\0").
QString windowClass(X11Connection& x, xcb_window_t window)
{
    const auto cookie = xcb_get_property(x.get(), 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(x.get(), cookie, nullptr), &std::free);
    if (!reply)
        return {};
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           xcb_get_property_value_length(reply.get()));
    const QList<QByteArray> parts = value.split('\0');
    return parts.size() >= 2 ? QString::fromLatin1(parts[1]) : QString();
}

std::vector<xcb_window_t> children(X11Connection& x, xcb_window_t window)
{
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> reply(
        xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), window), nullptr), &std::free);
    if (!reply)
        return {};
    const xcb_window_t* list = xcb_query_tree_children(reply.get());
    return {list, list + xcb_query_tree_children_length(reply.get())};
}

/// Whether a window of class `wanted` lies somewhere inside a window of class `host`.
bool nestedInside(X11Connection& x, xcb_window_t window, const QString& host, const QString& wanted,
                  bool inHost)
{
    for (const xcb_window_t child : children(x, window)) {
        const QString cls = windowClass(x, child);
        if (inHost && cls == wanted)
            return true;
        if (nestedInside(x, child, host, wanted, inHost || cls == host))
            return true;
    }
    return false;
}

/// How many windows of class `wanted` lie inside windows of class `host`.
int countInside(X11Connection& x, xcb_window_t window, const QString& host, const QString& wanted,
                bool inHost)
{
    int count = 0;
    for (const xcb_window_t child : children(x, window)) {
        const QString cls = windowClass(x, child);
        if (inHost && cls == wanted)
            ++count;
        else
            count += countInside(x, child, host, wanted, inHost || cls == host);
    }
    return count;
}

class TrayHost {
public:
    TrayHost(X11Connection& x, const QStringList& extra = {})
    {
        const QString trayer = QStandardPaths::findExecutable("trayer");
        if (trayer.isEmpty() || selectionOwner(x, "_NET_SYSTEM_TRAY_S0") != XCB_NONE)
            return;
        process.start(trayer, QStringList{"--edge", "top", "--align", "right", "--widthtype", "pixel",
                                          "--width", "200", "--height", "24"} +
                                  extra);
        started = process.waitForStarted(5000) &&
                  quillon::testing::waitFor(
                      [&] { return selectionOwner(x, "_NET_SYSTEM_TRAY_S0") != XCB_NONE; }, 10000);
    }
    ~TrayHost()
    {
        process.terminate();
        process.waitForFinished(5000);
    }

    QProcess process;
    bool started = false;
};

// A settings snapshot beside a running Quillon starts nothing of its own: no
// second tray icon, no settings written, and it ends by itself.
TEST(Tray, ASettingsSnapshotBesideARunningQuillonStartsNothing)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    TrayHost tray(*x);
    if (!tray.started)
        GTEST_SKIP() << "trayer is missing (run scripts/install-deps) or another tray host runs";

    QTemporaryDir home;
    quillon::testing::QuillonRun quillon(home,
                                         R"({"colorPicker.isEnabled": {"type": "bool", "value": true}})");
    ASSERT_TRUE(quillon.start());
    auto icons = [&] { return countInside(*x, x->root(), "trayer", "Quillon", false); };
    ASSERT_TRUE(quillon::testing::waitFor([&] { return icons() == 1; }));
    quillon::testing::waitFor([] { return false; }, 500); // let start-up's writes settle

    auto settingsTimes = [&] {
        QStringList times;
        for (const QFileInfo& file : QDir(home.path() + "/config/Quillon").entryInfoList(QDir::Files))
            times << file.fileName() + " " + QString::number(file.lastModified().toMSecsSinceEpoch());
        return times;
    };
    const QStringList before = settingsTimes();
    ASSERT_FALSE(before.isEmpty());

    const QString shots = home.path() + "/shots";
    QProcess snapshot;
    snapshot.setProcessEnvironment(quillon.process.processEnvironment());
    snapshot.start(QUILLON_BINARY, {"--settings-png", shots, "snap"});
    ASSERT_TRUE(snapshot.waitForStarted(5000));
    int mostIcons = 0;
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] {
            mostIcons = std::max(mostIcons, icons());
            return snapshot.state() == QProcess::NotRunning;
        },
        20000))
        << "the snapshot run did not end";
    EXPECT_EQ(snapshot.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(snapshot.exitCode(), 0);
    EXPECT_TRUE(QFileInfo(shots + "/snap.png").size() > 0);
    EXPECT_EQ(mostIcons, 1) << "the snapshot run put its own icon in the tray";
    EXPECT_EQ(icons(), 1);
    EXPECT_EQ(settingsTimes(), before) << "the snapshot run wrote the settings";
    EXPECT_EQ(quillon.process.state(), QProcess::Running);
}

// A tray host that owns the tray selection before Quillon starts: Quillon's
// icon is embedded into it.
TEST(Tray, IconIsEmbeddedInTheTrayHost)
{
    QUILLON_REQUIRE_DESKTOP();
    const QString trayer = QStandardPaths::findExecutable("trayer");
    if (trayer.isEmpty())
        GTEST_SKIP() << "trayer is missing; run scripts/install-deps";
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    ASSERT_EQ(selectionOwner(*x, "_NET_SYSTEM_TRAY_S0"), XCB_NONE) << "another tray host runs";

    QProcess tray;
    tray.start(trayer, {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
                        "--height", "24"});
    ASSERT_TRUE(tray.waitForStarted(5000));
    ASSERT_TRUE(quillon::testing::waitFor(
        [&] { return selectionOwner(*x, "_NET_SYSTEM_TRAY_S0") != XCB_NONE; }));

    QTemporaryDir home;
    // A feature on: no first-run settings window, so the tray is the only way in.
    quillon::testing::QuillonRun quillon(home,
                                         R"({"colorPicker.isEnabled": {"type": "bool", "value": true}})");
    ASSERT_TRUE(quillon.start());
    EXPECT_TRUE(quillon::testing::waitFor(
        [&] { return nestedInside(*x, x->root(), "trayer", "Quillon", false); }))
        << "Quillon's icon did not appear in the tray";

    quillon.process.terminate();
    EXPECT_TRUE(quillon.process.waitForFinished(10000));
    EXPECT_EQ(quillon.process.exitCode(), 0);
    tray.terminate();
    tray.waitForFinished(5000);
}

/// The first window of class `wanted` inside a window of class `host`.
std::optional<xcb_window_t> findInside(X11Connection& x, xcb_window_t window, const QString& host,
                                       const QString& wanted, bool inHost)
{
    for (const xcb_window_t child : children(x, window)) {
        const QString cls = windowClass(x, child);
        if (inHost && cls == wanted)
            return child;
        if (const auto found = findInside(x, child, host, wanted, inHost || cls == host))
            return found;
    }
    return std::nullopt;
}

/// How many pixels of the window, as the screen shows it, differ clearly from `panel`.
int pixelsStandingOut(X11Connection& x, xcb_window_t window, QRgb panel)
{
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), window), nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        x.get(), xcb_translate_coordinates(x.get(), window, x.root(), 0, 0), nullptr));
    if (!geometry || !origin)
        return 0;
    XcbReply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(x.get(),
                            xcb_get_image(x.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, x.root(), origin->dst_x,
                                          origin->dst_y, geometry->width, geometry->height, ~0u),
                            nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < geometry->width * geometry->height * 4)
        return 0;
    const auto* pixels = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image.get()));
    int count = 0;
    for (int i = 0; i < geometry->width * geometry->height; ++i) {
        const QRgb p = pixels[i];
        const int distance = std::abs(qRed(p) - qRed(panel)) + std::abs(qGreen(p) - qGreen(panel)) +
                             std::abs(qBlue(p) - qBlue(panel));
        if (distance > 150)
            ++count;
    }
    return count;
}

// The icon shows on a light panel as well as on a dark one.
TEST(Tray, IconStandsOutOnLightAndDarkPanels)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    for (const QRgb tint : {qRgb(0xEE, 0xEE, 0xEE), qRgb(0x22, 0x22, 0x22)}) {
        const QString colour = QStringLiteral("0x%1").arg(tint & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        TrayHost tray(*x, {"--transparent", "true", "--alpha", "0", "--tint", colour});
        if (!tray.started)
            GTEST_SKIP() << "trayer is missing (run scripts/install-deps) or another tray host runs";
        QTemporaryDir home;
        quillon::testing::QuillonRun quillon(home,
                                             R"({"colorPicker.isEnabled": {"type": "bool", "value": true}})");
        ASSERT_TRUE(quillon.start());
        std::optional<xcb_window_t> icon;
        ASSERT_TRUE(quillon::testing::waitFor(
            [&] { return (icon = findInside(*x, x->root(), "trayer", "Quillon", false)).has_value(); },
            10000));
        int standing = 0;
        EXPECT_TRUE(quillon::testing::waitFor(
            [&] { return (standing = pixelsStandingOut(*x, *icon, tint)) >= 20; }))
            << "on a panel of " << colour.toStdString() << " only " << standing << " pixels differ";
    }
}


namespace status_menu {

using quillon::testing::storedInt;
using quillon::testing::waitFor;

/// The icon's rectangle on the root.
QRect rootRect(X11Connection& x, xcb_window_t window)
{
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x.get(), xcb_get_geometry(x.get(), window), nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        x.get(), xcb_translate_coordinates(x.get(), window, x.root(), 0, 0), nullptr));
    if (!geometry || !origin)
        return {};
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

/// An override-redirect window (a popup) mapped beside `icon`.
std::optional<QRect> popupBeside(X11Connection& x, const QRect& icon)
{
    for (const auto& top : quillon::testing::overrideRedirectWindows(x)) {
        if (top.geometry.adjusted(-40, -40, 40, 40).contains(icon.center()) && top.geometry.height() > 40)
            return top.geometry;
    }
    return std::nullopt;
}

/// A second popup touching the menu at `menu`: its submenu, open.
bool submenuBeside(X11Connection& x, const QRect& menu)
{
    for (const auto& top : quillon::testing::overrideRedirectWindows(x)) {
        if (top.geometry != menu && top.geometry.height() > 40 &&
            top.geometry.adjusted(-10, -10, 10, 10).intersects(menu))
            return true;
    }
    return false;
}

/// Whether another client holds the keyboard, as an open menu does.
bool keyboardGrabbed(X11Connection& x)
{
    XcbReply<xcb_grab_keyboard_reply_t> reply(xcb_grab_keyboard_reply(
        x.get(),
        xcb_grab_keyboard(x.get(), 0, x.root(), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr));
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_keyboard(x.get(), XCB_CURRENT_TIME);
        xcb_flush(x.get());
        return false;
    }
    return reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

/// Whether another client holds the pointer, as an open menu does.
bool pointerGrabbed(X11Connection& x)
{
    XcbReply<xcb_grab_pointer_reply_t> reply(xcb_grab_pointer_reply(
        x.get(),
        xcb_grab_pointer(x.get(), 0, x.root(), 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                         XCB_NONE, XCB_CURRENT_TIME),
        nullptr));
    if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS) {
        xcb_ungrab_pointer(x.get(), XCB_CURRENT_TIME);
        xcb_flush(x.get());
        return false;
    }
    return reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
}

/// Quillon with its icon in a light tray, keep-awake's inhibitor served by
/// the test logind.
struct TrayRun {
    explicit TrayRun(X11Connection& connection)
        : x(connection)
        , tray(connection, {"--transparent", "true", "--alpha", "0", "--tint", "0xEEEEEE"})
        , quillon(home, R"({"colorPicker.isEnabled": {"type": "bool", "value": true},
                           "diagnostics.logging": {"type": "bool", "value": true}})")
    {
    }
    bool start()
    {
        if (!quillon.start())
            return false;
        // Found in the tray and drawn: embedded and taking clicks.
        return waitFor([&] {
            icon = findInside(x, x.root(), "trayer", "Quillon", false);
            return icon && pixelsStandingOut(x, *icon, qRgb(0xEE, 0xEE, 0xEE)) >= 20;
        });
    }
    void click(int button)
    {
        const QRect r = rootRect(x, *icon);
        quillon::testing::run("xdotool", {"mousemove", QString::number(r.center().x()),
                                          QString::number(r.center().y()), "click", QString::number(button)});
    }
    void keys(const QStringList& names)
    {
        for (const QString& name : names)
            quillon::testing::run("xdotool", {"key", name});
    }
    QString settingsFile() const { return home.path() + "/config/Quillon/" QUILLON_APP_ID ".json"; }

    X11Connection& x;
    quillon::testing::Service logind{QStringLiteral("quillon-test-logind")};
    TrayHost tray;
    QTemporaryDir home;
    quillon::testing::QuillonRun quillon;
    std::optional<xcb_window_t> icon;
};

TEST(StatusMenuDesktop, ARightClickTogglesKeepAwakeAndFillsTheIconWithoutAMenu)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    TrayRun run(*x);
    if (!run.tray.started)
        GTEST_SKIP() << "trayer is missing (run scripts/install-deps) or another tray host runs";
    ASSERT_TRUE(run.logind.started);
    ASSERT_TRUE(run.start());
    const QRgb panel = qRgb(0xEE, 0xEE, 0xEE);
    int outline = 0;
    ASSERT_TRUE(waitFor([&] { return (outline = pixelsStandingOut(*x, *run.icon, panel)) >= 20; }));

    run.click(3);
    EXPECT_TRUE(waitFor(
        [&] { return quillon::testing::storedBool(run.settingsFile(), "awake.isEnabled") == true; }))
        << run.quillon.log().toStdString();
    // The session icon: the box filled, where the idle one is a ring.
    int filled = 0;
    EXPECT_TRUE(waitFor([&] { return (filled = pixelsStandingOut(*x, *run.icon, panel)) > outline * 4 / 3; }))
        << "idle " << outline << " pixels, in session " << filled;
    waitFor([] { return false; }, 800); // a menu would have opened by now
    EXPECT_FALSE(popupBeside(*x, rootRect(*x, *run.icon))) << "a right click opened a menu";

    run.click(3);
    EXPECT_TRUE(waitFor(
        [&] { return quillon::testing::storedBool(run.settingsFile(), "awake.isEnabled") == false; }));
}

TEST(StatusMenuDesktop, ALeftClickOpensTheMenuThatTheKeyboardDrives)
{
    QUILLON_REQUIRE_DESKTOP();
    auto x = X11Connection::open();
    ASSERT_TRUE(x);
    TrayRun run(*x);
    if (!run.tray.started)
        GTEST_SKIP() << "trayer is missing (run scripts/install-deps) or another tray host runs";
    ASSERT_TRUE(run.start());
    const QRect icon = rootRect(*x, *run.icon);

    run.click(1);
    // Qt marks its menus as normal windows: the popup is found by being
    // override-redirect and beside the icon.
    std::optional<QRect> menu;
    ASSERT_TRUE(waitFor([&] { return (menu = popupBeside(*x, icon)).has_value(); }))
        << run.quillon.log().toStdString();
    ASSERT_TRUE(waitFor([&] { return keyboardGrabbed(*x); })) << "the menu does not take the keys";
    // Keep Awake → its submenu (on "No time limit") → 15 minutes, 30 minutes, 1 hour.
    run.keys({"Down", "Right"});
    ASSERT_TRUE(waitFor([&] { return submenuBeside(*x, *menu); })) << "Keep Awake opened no submenu";
    run.keys({"Down", "Down", "Down", "Return"});
    EXPECT_TRUE(waitFor([&] { return storedInt(run.settingsFile(), "awake.durationMinutes") == 60; }))
        << run.quillon.log().toStdString();
    EXPECT_TRUE(waitFor([&] { return !popupBeside(*x, icon) && !keyboardGrabbed(*x) && !pointerGrabbed(*x); }))
        << "the menu stayed open";
    menu.reset();

    const bool allowed = quillon::testing::storedBool(run.settingsFile(), "awake.allowDisplaySleep") == true;
    // A click at once after the menu closed can go unseen on this virtual
    // desktop; a person clicks again, and so does the test.
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
        run.click(1);
        waitFor([&] { return (menu = popupBeside(*x, icon)).has_value(); }, 3000);
    }
    ASSERT_TRUE(menu) << "a second left click opened no menu";
    ASSERT_TRUE(waitFor([&] { return keyboardGrabbed(*x); }));
    // Past the durations and "Custom…" to "Allow Display to Sleep".
    run.keys({"Down", "Right"});
    ASSERT_TRUE(waitFor([&] { return submenuBeside(*x, *menu); }));
    run.keys({"Down", "Down", "Down", "Down", "Down", "Down", "Down", "Return"});
    EXPECT_TRUE(waitFor([&] {
        return quillon::testing::storedBool(run.settingsFile(), "awake.allowDisplaySleep") == !allowed;
    }));
    EXPECT_EQ(storedInt(run.settingsFile(), "awake.durationMinutes"), 60);
}

} // namespace status_menu

} // namespace
