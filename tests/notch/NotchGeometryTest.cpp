#include "notch/NotchGeometry.h"

#include "fakes/FakePlatform.h"

#include "common/QtPrint.h"

#include <gtest/gtest.h>

using namespace quillon;
using fakes::makeScreen;

namespace {

class NotchGeometryTest : public testing::Test {
protected:
    void TearDown() override { NotchGeometry::drawsWithoutNotch = true; }
    fakes::FakePlatform platform;
};

// A built-in display with a camera housing 120 wide and 32 high in the middle
// of its top edge.
platform::Screen notched(const QRectF& frame, const QString& id = QStringLiteral("builtin"))
{
    platform::Screen s = makeScreen(frame, 32, id);
    const double top = frame.y() + frame.height() - 32;
    const double housing = frame.x() + frame.width() / 2 - 60;
    s.builtIn = true;
    s.safeAreaTop = 32;
    s.auxiliaryTopLeftArea = QRectF(frame.x(), top, housing - frame.x(), 32);
    s.auxiliaryTopRightArea = QRectF(housing + 120, top, frame.x() + frame.width() - housing - 120, 32);
    return s;
}

TEST_F(NotchGeometryTest, HudScreenAndNotchForDisplayLayouts)
{
    platform::Screen insetsOnly = makeScreen(QRectF(0, 0, 1440, 900), 24);
    insetsOnly.safeAreaTop = 32;

    const struct Case {
        const char* name;
        std::vector<platform::Screen> screens;
        bool drawsWithoutNotch;
        std::optional<QString> hudId;
        QRectF notch;
        bool physical;
    } cases[] = {
        {"synthesised on a notch-less display",
         {makeScreen(QRectF(0, 0, 1440, 900), 24, "a")},
         true,
         "a",
         QRectF(660, 876, 120, 24),
         false},
        {"x rounds half away from zero",
         {makeScreen(QRectF(0, 0, 1441, 900), 24, "a")},
         true,
         "a",
         QRectF(661, 876, 120, 24),
         false},
        {"narrow display: a third of its width",
         {makeScreen(QRectF(0, 0, 300, 200), 24, "a")},
         true,
         "a",
         QRectF(100, 176, 100, 24),
         false},
        {"only x is rounded",
         {makeScreen(QRectF(0, 0, 301, 200), 24, "a")},
         true,
         "a",
         QRectF(100, 176, 301.0 / 3, 24),
         false},
        {"a panel's thickness",
         {makeScreen(QRectF(0, 0, 1440, 900), 30, "a")},
         true,
         "a",
         QRectF(660, 870, 120, 30),
         false},
        {"hidden panel",
         {makeScreen(QRectF(0, 0, 1440, 900), 0, "a")},
         true,
         "a",
         QRectF(660, 876, 120, 24),
         false},
        {"one-point panel counts as hidden",
         {makeScreen(QRectF(0, 0, 1440, 900), 1, "a")},
         true,
         "a",
         QRectF(660, 876, 120, 24),
         false},
        {"insets without side areas are no notch",
         {insetsOnly},
         true,
         "screen",
         QRectF(660, 876, 120, 24),
         false},
        {"only the first display is synthesised",
         {makeScreen(QRectF(0, 0, 1920, 1080), 24, "a"), makeScreen(QRectF(1920, 0, 1440, 900), 24, "b")},
         true,
         "a",
         QRectF(900, 1056, 120, 24),
         false},
        {"nothing when synthesis is off",
         {makeScreen(QRectF(0, 0, 1440, 900), 24, "a")},
         false,
         {},
         {},
         false},
        {"no displays", {}, true, {}, {}, false},
        {"physical notch",
         {notched(QRectF(0, 0, 1512, 982))},
         true,
         "builtin",
         QRectF(696, 950, 120, 32),
         true},
        {"physical notch second in the list",
         {makeScreen(QRectF(0, 0, 1920, 1080), 24, "a"), notched(QRectF(1920, 0, 1512, 982))},
         true,
         "builtin",
         QRectF(2616, 950, 120, 32),
         true},
        {"physical notch whatever synthesis says",
         {makeScreen(QRectF(0, 0, 1920, 1080), 24, "a"), notched(QRectF(-1512, 98, 1512, 982))},
         false,
         "builtin",
         QRectF(-816, 1048, 120, 32),
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform.displaysImpl.setScreens(c.screens);
        NotchGeometry::drawsWithoutNotch = c.drawsWithoutNotch;
        const auto hud = NotchGeometry::hudScreen();
        ASSERT_EQ(hud.has_value(), c.hudId.has_value());
        if (hud) {
            EXPECT_EQ(hud->screen.id, *c.hudId);
            EXPECT_EQ(hud->notch, c.notch);
        }
        EXPECT_EQ(NotchGeometry::hasPhysicalNotch(), c.physical);
    }
}

// The points a path passes through: move and line targets and curve ends.
std::vector<QPointF> pointsOf(const QPainterPath& path)
{
    std::vector<QPointF> points;
    for (int i = 0; i < path.elementCount(); ++i) {
        const auto e = path.elementAt(i);
        if (e.isMoveTo() || e.isLineTo()) {
            points.push_back(e);
        } else if (e.isCurveTo()) {
            points.push_back(path.elementAt(i + 2));
            i += 2;
        }
    }
    return points;
}

TEST_F(NotchGeometryTest, ShelfPathHugsTheNotch)
{
    using P = QPointF;
    const struct {
        QRectF rect;
        double radius;
        std::vector<QPointF> points;
    } cases[] = {
        {QRectF(10, 20, 200, 40),
         16,
         {P(10, 60), P(10, 36), P(26, 20), P(194, 20), P(210, 36), P(210, 60), P(10, 60)}},
        // The radius gives way to half the height, then to half the width.
        {QRectF(0, 0, 200, 40),
         100,
         {P(0, 40), P(0, 20), P(20, 0), P(180, 0), P(200, 20), P(200, 40), P(0, 40)}},
        // Qt keeps no zero-length segments: here the bottom edge between the corners.
        {QRectF(0, 0, 20, 40), 16, {P(0, 40), P(0, 10), P(10, 0), P(20, 10), P(20, 40), P(0, 40)}},
        // No height: a line along the top edge.
        {QRectF(0, 5, 100, 0), 10, {P(0, 5), P(100, 5), P(0, 5)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rect.width() << "x" << c.rect.height() << " r" << c.radius);
        EXPECT_EQ(pointsOf(NotchGeometry::shelfPath(c.rect, c.radius)), c.points);
    }
}

TEST_F(NotchGeometryTest, ShelfPathCornersBendTowardsTheBottomCorners)
{
    // Quadratic corners are kept as cubics whose control points lie two
    // thirds of the way towards the square corner.
    const QPainterPath path = NotchGeometry::shelfPath(QRectF(0, 0, 300, 46), 16);
    ASSERT_TRUE(path.elementAt(2).isCurveTo());
    EXPECT_EQ(QPointF(path.elementAt(2)), QPointF(0, 16.0 / 3));
    EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(16.0 / 3, 0));
    EXPECT_TRUE(path.contains(QPointF(150, 23)));
    EXPECT_FALSE(path.contains(QPointF(1, 1)));
}

TEST_F(NotchGeometryTest, StrokeHalvesMeetAtTheBottomCentre)
{
    using P = QPointF;
    const auto halves = NotchGeometry::shelfStrokePaths(QSizeF(300, 46), 1, 16);
    EXPECT_EQ(pointsOf(halves.left), (std::vector<QPointF>{P(1, 46), P(1, 17), P(17, 1), P(150, 1)}));
    EXPECT_EQ(pointsOf(halves.right), (std::vector<QPointF>{P(299, 46), P(299, 17), P(283, 1), P(150, 1)}));

    // A bar lower than its radius rounds with half its inner height.
    const auto low = NotchGeometry::shelfStrokePaths(QSizeF(300, 21), 1, 16);
    EXPECT_EQ(pointsOf(low.left), (std::vector<QPointF>{P(1, 21), P(1, 11), P(11, 1), P(150, 1)}));
}

TEST_F(NotchGeometryTest, ChangeNotificationIsNamedAfterTheAppDomain)
{
    EXPECT_EQ(NotchGeometry::didChangeNotification(), QStringLiteral("app.quillon.notchGeometryDidChange"));
    auto& notifier = NotchGeometry::notifier();
    EXPECT_EQ(notifier.objectName(), NotchGeometry::didChangeNotification());
    EXPECT_EQ(&notifier, &NotchGeometry::notifier());
    int heard = 0;
    const auto connection = QObject::connect(&notifier, &NotchGeometryNotifier::didChange, [&] { ++heard; });
    notifier.post();
    QObject::disconnect(connection);
    EXPECT_EQ(heard, 1);
}

} // namespace
