// Window snapping in a running quillon: a test window under openbox, the
// snapping keys pressed through XTest as a person presses them.
#include "common/Desktop.h"
#include "common/QtPrint.h"
#include "common/QuillonRun.h"
#include "common/SplitScreen.h"
#include "common/TestWindows.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"
#include "platform/linux/X11WindowControl.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::ClientInfo;
using quillon::platform::linux_::Ewmh;
using quillon::platform::linux_::X11Connection;

// X key codes of the physical keys (evdev code + 8).
constexpr uint8_t xSuper = 133, xAlt = 64, xCtrl = 37, xLeft = 113, xRight = 114, xBackSpace = 22;

std::string text(const QRect& r)
{
    return QString("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

class SnapDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_x = X11Connection::open();
        ASSERT_TRUE(m_x);
        m_ewmh = std::make_unique<Ewmh>(*m_x);
        m_window.emplace(QStringList{"--title", "Snap me"});
        ASSERT_EQ(m_window->ids.size(), 1u);
        id = m_window->ids.front();
        m_ewmh->activate(id);
        ASSERT_TRUE(waitFor([&] { return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW") == id; }));
        ASSERT_TRUE(waitFor([&] { return frame().isValid(); }));
    }
    void TearDown() override
    {
        m_quillon.reset();
        m_window.reset();
    }

    /// `scaleFactor`: Qt's QT_SCALE_FACTOR for quillon alone.
    void startQuillon(const QString& scaleFactor = {})
    {
        m_quillon = std::make_unique<QuillonRun>(
            m_home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                   "snap.isEnabled": {"type": "bool", "value": true}})"));
        if (!scaleFactor.isEmpty()) {
            QProcessEnvironment env = m_quillon->process.processEnvironment();
            env.insert("QT_SCALE_FACTOR", scaleFactor);
            m_quillon->process.setProcessEnvironment(env);
        }
        ASSERT_TRUE(m_quillon->start());
        ASSERT_TRUE(waitFor([&] { return m_quillon->log().contains("Snap active"); }))
            << m_quillon->log().toStdString();
        // Without a tray the settings window opens at launch and takes the
        // focus; the person then goes back to their window.
        const int32_t quillonPid = int32_t(m_quillon->process.processId());
        waitFor([&] {
            const auto active = m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW");
            return active && m_ewmh->client(*active, ClientInfo::Pid).pid == quillonPid;
        });
        // The settings window may be brought forward more than once while it
        // opens, so go back until the test window stays in front.
        const auto isActive = [&] { return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW") == id; };
        bool settled = false;
        for (int attempt = 0; attempt < 5 && !settled; ++attempt) {
            m_ewmh->activate(id);
            settled = waitFor(isActive) && !waitFor([&] { return !isActive(); }, 300);
        }
        ASSERT_TRUE(settled);
    }

    /// The visible frame, root coordinates.
    QRect frame() { return m_ewmh->client(id, ClientInfo::Frame).frame.value_or(QRect()); }
    QRect workArea()
    {
        const auto area = m_ewmh->values32(m_x->root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL);
        return area.size() >= 4 ? QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3])) : QRect();
    }
    /// Super+Alt (+ more) with a key, pressed and let go.
    void press(uint8_t key, std::vector<uint8_t> modifiers = {xSuper, xAlt})
    {
        for (const uint8_t m : modifiers)
            m_typist.key(m, true);
        m_typist.tap(key);
        for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
            m_typist.key(*it, false);
    }
    bool landsOn(const QRect& expected, int timeoutMs = 3000)
    {
        const bool landed = waitFor([&] { return frame() == expected; }, timeoutMs);
        if (!landed && m_quillon)
            std::cerr << m_quillon->log().toStdString();
        return landed;
    }
    void setCardinals(const char* property, std::vector<uint32_t> values, xcb_atom_t type = XCB_ATOM_CARDINAL)
    {
        xcb_change_property(m_x->get(), XCB_PROP_MODE_REPLACE, id, m_x->atom(property), type, 32,
                            uint32_t(values.size()), values.data());
        m_x->flush();
    }
    bool maximised()
    {
        const auto states = m_ewmh->atoms(id, "_NET_WM_STATE");
        return std::find(states.begin(), states.end(), m_x->atom("_NET_WM_STATE_MAXIMIZED_VERT")) !=
               states.end();
    }

    xcb_window_t id = 0;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::optional<quillon::testing::TestWindows> m_window;
    QTemporaryDir m_home;
    std::unique_ptr<QuillonRun> m_quillon;
    Typist m_typist;
};

TEST_F(SnapDesktop, LeftCyclesHalfTwoThirdsAndAThirdAndBackSpaceRestores)
{
    startQuillon();
    const QRect before = frame();
    const QRect area = workArea();
    ASSERT_TRUE(area.isValid());
    const int third = area.width() / 3;
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), area.width() / 2, area.height()))) << text(frame());
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), 2 * third, area.height()))) << text(frame());
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), third, area.height()))) << text(frame());
    press(xBackSpace);
    EXPECT_TRUE(landsOn(before)) << text(frame());
}

// Qt measures the screen in device-independent pixels and X11 the window in
// device pixels: at scale 2 the left half still covers half the screen's
// pixels, not a quarter, and a second press still cycles from that half.
TEST_F(SnapDesktop, AtScaleTwoTheHalvesAreHalvesOfTheDevicePixels)
{
    startQuillon("2");
    const QRect area = workArea();
    ASSERT_TRUE(area.isValid());
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), area.width() / 2, area.height()))) << text(frame());
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), 2 * (area.width() / 3), area.height()))) << text(frame());
    press(xRight);
    EXPECT_TRUE(landsOn(QRect(area.x() + area.width() / 2, area.y(), area.width() / 2, area.height())))
        << text(frame());
}

TEST_F(SnapDesktop, AMaximisedWindowSnapsUnmaximisedAFixedSizeOneStays)
{
    startQuillon();
    const QRect area = workArea();
    m_ewmh->sendToRoot(id, "_NET_WM_STATE", 1, m_x->atom("_NET_WM_STATE_MAXIMIZED_VERT"),
                       m_x->atom("_NET_WM_STATE_MAXIMIZED_HORZ"), 2);
    ASSERT_TRUE(waitFor([&] { return maximised() && frame() == area; })) << text(frame());
    press(xRight);
    ASSERT_TRUE(landsOn(QRect(area.x() + area.width() / 2, area.y(), area.width() / 2, area.height())))
        << text(frame());
    EXPECT_FALSE(maximised());

    // WM_SIZE_HINTS with PMinSize and PMaxSize both 320 × 200.
    setCardinals("WM_NORMAL_HINTS",
                 {(1u << 4) | (1u << 5), 0, 0, 0, 0, 320, 200, 320, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                 XCB_ATOM_WM_SIZE_HINTS);
    ASSERT_TRUE(waitFor([&] { return frame().size() != QSize(area.width() / 2, area.height()); }))
        << text(frame());
    const QRect fixed = frame();
    press(xLeft);
    EXPECT_FALSE(waitFor([&] { return frame() != fixed; }, 800)) << text(frame());
}

TEST_F(SnapDesktop, ShadowsOfClientSideDecorationsLieOutsideTheHalf)
{
    setCardinals("_GTK_FRAME_EXTENTS", {12, 12, 8, 16});
    startQuillon();
    const QRect area = workArea();
    press(xLeft);
    ASSERT_TRUE(landsOn(QRect(area.x(), area.y(), area.width() / 2, area.height()))) << text(frame());
    // The client area reaches past the half by its shadow.
    auto geometry = quillon::platform::linux_::XcbReply<xcb_get_geometry_reply_t>(
        xcb_get_geometry_reply(m_x->get(), xcb_get_geometry(m_x->get(), id), nullptr));
    ASSERT_TRUE(geometry);
    const auto extents = m_ewmh->client(id, ClientInfo::Frame).frameExtents;
    EXPECT_EQ(int(geometry->width), area.width() / 2 + 24 - extents[0] - extents[1]);
    EXPECT_EQ(int(geometry->height), area.height() + 24 - extents[2] - extents[3]);
}

TEST_F(SnapDesktop, SetFrameReportsTheNewFrameOnceTheWindowManagerActs)
{
    quillon::platform::linux_::X11WindowControl control(X11Connection::open());
    std::optional<std::optional<QRectF>> readBack;
    const QRectF wanted(150, 120, 500, 400);
    control.setFrame(id, wanted, [&](std::optional<QRectF> frame) { readBack = frame; });
    EXPECT_FALSE(readBack) << "never reported inside the call";
    ASSERT_TRUE(waitFor([&] { return readBack.has_value(); }));
    EXPECT_EQ(*readBack, wanted);
    EXPECT_EQ(frame(), wanted.toRect());

    // A window that is gone reports none.
    readBack.reset();
    control.setFrame(0x7fffff0, wanted, [&](std::optional<QRectF> frame) { readBack = frame; });
    ASSERT_TRUE(waitFor([&] { return readBack.has_value(); }));
    EXPECT_FALSE(*readBack);
}

TEST_F(SnapDesktop, NextDisplayMovesTheWindowToTheSecondMonitor)
{
    const QRect area = workArea();
    if (area.width() != 1920)
        GTEST_SKIP() << "needs the default 1920-wide virtual screen";
    SplitScreen split;
    startQuillon();
    press(xLeft);
    // The left half of the monitor the window was placed on.
    ASSERT_TRUE(waitFor([&] { return frame().size() == QSize(480, area.height()); })) << text(frame());
    const int other = frame().x() == 0 ? 960 : 0;
    press(xRight, {xSuper, xAlt, xCtrl});
    EXPECT_TRUE(landsOn(QRect(other, area.y(), 480, area.height()))) << text(frame());
}

} // namespace
