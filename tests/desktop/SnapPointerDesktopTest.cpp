// Snapping by pointer in a running quillon: a title-bar drag to the left
// edge and the dial of the held Super+Alt, through XTest, under openbox.
#include "common/Desktop.h"
#include "common/QuillonRun.h"
#include "common/TestWindows.h"
#include "common/TopWindows.h"
#include "common/Typist.h"
#include "platform/linux/Ewmh.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace quillon::testing;
using quillon::platform::linux_::ClientInfo;
using quillon::platform::linux_::Ewmh;
using quillon::platform::linux_::X11Connection;

constexpr uint8_t xSuper = 133, xAlt = 64;

std::string text(const QRect& r)
{
    return QString("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

/// Lets the event loop run for a moment, so each step of a drag reaches
/// quillon as its own batch.
void pause(int ms)
{
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; }, ms + 100);
}

class SnapPointerDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_x = X11Connection::open();
        ASSERT_TRUE(m_x);
        m_ewmh = std::make_unique<Ewmh>(*m_x);
        m_window.emplace(QStringList{"--title", "Drag me"});
        ASSERT_EQ(m_window->ids.size(), 1u);
        id = m_window->ids.front();
        ASSERT_TRUE(waitFor([&] { return frame().isValid(); }));

        m_quillon = std::make_unique<QuillonRun>(
            m_home, QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true},
                                   "snap.isEnabled": {"type": "bool", "value": true},
                                   "snap.onDrag": {"type": "bool", "value": true},
                                   "snap.mouseSnap": {"type": "bool", "value": true}})"));
        ASSERT_TRUE(m_quillon->start());
        ASSERT_TRUE(waitFor([&] { return m_quillon->log().contains("Snap active"); }));
        // Without a tray the settings window opens and takes the focus first.
        const int32_t quillonPid = int32_t(m_quillon->process.processId());
        waitFor([&] {
            const auto active = activeWindow();
            return active && m_ewmh->client(*active, ClientInfo::Pid).pid == quillonPid;
        });
        // The settings window may be brought forward more than once while it
        // opens, so go back until the test window stays in front.
        const auto isActive = [&] { return activeWindow() == id; };
        bool settled = false;
        for (int attempt = 0; attempt < 5 && !settled; ++attempt) {
            m_ewmh->activate(id);
            settled = waitFor(isActive) && !waitFor([&] { return !isActive(); }, 300);
        }
        ASSERT_TRUE(settled);
        area = workArea();
        ASSERT_TRUE(area.isValid());
    }
    void TearDown() override
    {
        m_quillon.reset();
        m_window.reset();
    }

    std::optional<xcb_window_t> activeWindow()
    {
        return m_ewmh->windowValue(m_x->root(), "_NET_ACTIVE_WINDOW");
    }
    QRect frame() { return m_ewmh->client(id, ClientInfo::Frame).frame.value_or(QRect()); }
    QRect workArea()
    {
        const auto a = m_ewmh->values32(m_x->root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL);
        return a.size() >= 4 ? QRect(int(a[0]), int(a[1]), int(a[2]), int(a[3])) : QRect();
    }
    bool overlayAt(const QRect& geometry)
    {
        for (const TopWindow& w : overrideRedirectWindows(m_typist.x())) {
            if (w.geometry == geometry)
                return true;
        }
        return false;
    }

    /// The snap hints at the notch: a bar at the top centre, wider than the notch.
    bool hintRowShown()
    {
        const int middle = area.x() + area.width() / 2;
        for (const TopWindow& w : overrideRedirectWindows(m_typist.x())) {
            if (w.geometry.y() == 0 && w.geometry.left() < middle - 100 && w.geometry.right() > middle + 100)
                return true;
        }
        return false;
    }

    xcb_window_t id = 0;
    QRect area;
    std::unique_ptr<X11Connection> m_x;
    std::unique_ptr<Ewmh> m_ewmh;
    std::optional<quillon::testing::TestWindows> m_window;
    QTemporaryDir m_home;
    std::unique_ptr<QuillonRun> m_quillon;
    Typist m_typist;
};

TEST_F(SnapPointerDesktop, DraggingTheTitleBarToTheLeftEdgeShowsTheFootprintAndSnapsThere)
{
    const QRect start = frame();
    const auto extents = m_ewmh->client(id, ClientInfo::Frame).frameExtents;
    const QPoint title(start.x() + start.width() / 2, start.y() + std::max(4, extents[2] / 2));
    const QRect half(area.x(), area.y(), area.width() / 2, area.height());
    m_typist.moveTo(title.x(), title.y());
    pause(50);
    m_typist.button(1, true);
    pause(50);
    // Towards the left edge in steps, stopping inside it: openbox flips
    // desktops when a dragged window rests at x = 0.
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        m_typist.moveTo(title.x() + (4 - title.x()) * i / steps, title.y());
        pause(40);
    }
    const bool footprint = waitFor([&] { return overlayAt(half); });
    m_typist.button(1, false);
    EXPECT_TRUE(footprint) << "an override-redirect window on the left half during the drag";
    EXPECT_TRUE(waitFor([&] { return frame() == half; })) << text(frame()) << m_quillon->log().toStdString();
    EXPECT_EQ(activeWindow(), id);
    EXPECT_TRUE(waitFor([&] { return !overlayAt(half); })) << "no footprint after the mouse-up";
}

TEST_F(SnapPointerDesktop, HoldingSuperAltShowsTheHintsAndTheDialAndAMoveUpSnapsTheTopHalf)
{
    const QPoint centre(area.x() + area.width() / 2, area.y() + area.height() / 2);
    m_typist.moveTo(centre.x(), centre.y());
    pause(50);
    ASSERT_FALSE(hintRowShown());
    m_typist.key(xSuper, true);
    m_typist.key(xAlt, true);
    const QRect ring(centre.x() - 52, centre.y() - 52, 104, 104);
    const bool opened = waitFor([&] { return overlayAt(ring); });
    const bool hints = waitFor([&] { return hintRowShown(); });
    if (opened) {
        for (int dy = 10; dy <= 60; dy += 10) {
            m_typist.moveTo(centre.x(), centre.y() - dy);
            pause(30);
        }
        pause(100);
    }
    m_typist.key(xAlt, false);
    m_typist.key(xSuper, false);
    ASSERT_TRUE(opened) << m_quillon->log().toStdString();
    EXPECT_TRUE(hints);
    const QRect top(area.x(), area.y(), area.width(), area.height() / 2);
    EXPECT_TRUE(waitFor([&] { return frame() == top; })) << text(frame()) << m_quillon->log().toStdString();
    EXPECT_TRUE(waitFor([&] { return !overlayAt(ring); }));
}

} // namespace
