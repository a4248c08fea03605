#include "features/SnapFixture.h"
#include "features/snap/FootprintWindow.h"
#include "features/snap/MouseSnapMonitor.h"
#include "features/snap/SnapDialView.h"
#include "features/snap/SnapFeature.h"
#include "input/DragWatcher.h"
#include "input/HotKeyWatcher.h"
#include "input/ModifierWatcher.h"
#include "settings/Settings.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <cmath>
#include <numbers>

namespace quillon {
namespace {

TEST(SnapDialTest, SectorTable)
{
    auto at = [](double distance, double degrees) {
        const double radians = degrees * std::numbers::pi / 180;
        return MouseSnapMonitor::sector(distance * std::cos(radians), distance * std::sin(radians));
    };
    struct Row {
        double dx, dy;
        std::optional<SnapPosition> sector;
    };
    const Row table[] = {
        {0, 20, std::nullopt},
        {0, 30, SnapPosition::topHalf},
        {25, 0, SnapPosition::rightHalf}, // the dead zone ends below 25
        {24.9, 0, std::nullopt},
        {-40, 0, SnapPosition::leftHalf},
        {0, -40, SnapPosition::bottomHalf},
        {-30, 30, SnapPosition::topLeft},
        {30, -30, SnapPosition::bottomRight},
        {-30, -30, SnapPosition::bottomLeft},
    };
    for (const Row& row : table)
        EXPECT_EQ(MouseSnapMonitor::sector(row.dx, row.dy), row.sector) << row.dx << "," << row.dy;
    EXPECT_EQ(at(40, 22.5), SnapPosition::topRight);
    EXPECT_EQ(at(40, 22.4), SnapPosition::rightHalf);
    EXPECT_EQ(at(40, 337.5), SnapPosition::rightHalf);
    EXPECT_EQ(at(40, 337.4), SnapPosition::bottomRight);
}

class SnapDial : public testing::SnapFixture {
protected:
    SnapDial()
    {
        fake.pointerImpl.position = QPointF(700, 400);
        dial.onSnap = [this](SnapPosition position) { snaps.push_back(position); };
    }
    void moveBy(double dx, double dy) { fake.pointerImpl.moveTo(QPointF(700 + dx, 400 + dy)); }

    MouseSnapMonitor dial;
    std::vector<SnapPosition> snaps;
};

TEST_F(SnapDial, OpensCentredOnThePointerAndFollowsItOnlyWhileOpen)
{
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 0);
    dial.begin();
    ASSERT_TRUE(dial.ring());
    const auto* record = fake.overlays.find(dial.ring());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->frame, QRectF(648, 348, 104, 104));
    EXPECT_TRUE(record->shown);
    EXPECT_EQ(record->style.level, 8);
    EXPECT_TRUE(record->style.clickThrough);
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 1);
    dial.begin();
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 1) << "a second begin does nothing";

    moveBy(0, 60);
    EXPECT_EQ(dial.pendingSector(), SnapPosition::topHalf);
    EXPECT_EQ(dial.ring()->selected(), SnapPosition::topHalf);
    EXPECT_TRUE(dial.footprint().isShown());
    EXPECT_EQ(dial.footprint().frame(), QRectF(0, 437.5, 1440, 437.5));

    dial.cleanup();
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 0);
    EXPECT_FALSE(dial.ring());
    EXPECT_FALSE(dial.footprint().isShown());
    EXPECT_FALSE(dial.pendingSector());
}

TEST_F(SnapDial, BackToTheCentreClearsTheSelectionAndNothingSnaps)
{
    dial.begin();
    moveBy(-40, 0);
    EXPECT_EQ(dial.pendingSector(), SnapPosition::leftHalf);
    fake.queue.advance(0.2);
    moveBy(-5, 3);
    EXPECT_FALSE(dial.pendingSector());
    EXPECT_FALSE(dial.ring()->selected());
    EXPECT_TRUE(dial.footprint().hiding());
    dial.end();
    EXPECT_TRUE(snaps.empty());

    moveBy(40, 1);
    dial.end();
    EXPECT_EQ(snaps, std::vector<SnapPosition>{SnapPosition::rightHalf});
}

TEST_F(SnapDial, ThePointerOnAnotherScreenPreviewsThere)
{
    fake.displaysImpl.screenList.push_back(fakes::makeScreen(QRectF(1440, 0, 1000, 800), 0, "second"));
    fake.pointerImpl.position = QPointF(1430, 400);
    dial.begin();
    fake.pointerImpl.moveTo(QPointF(1480, 400));
    EXPECT_EQ(dial.footprint().frame(), QRectF(1940, 0, 500, 800));
    fake.queue.advance(0.2);
    fake.pointerImpl.moveTo(QPointF(3000, 430)); // off every screen: no preview, the selection stays
    EXPECT_EQ(dial.pendingSector(), SnapPosition::rightHalf);
    fake.pointerImpl.moveTo(QPointF(3000, 1200));
    EXPECT_EQ(dial.pendingSector(), SnapPosition::topRight);
    EXPECT_TRUE(dial.footprint().hiding());
}

TEST_F(SnapDial, TopHalfIsDrawnAboveTheCentreInTheAccentColour)
{
    SnapDialView view;
    view.setSelected(SnapPosition::topHalf);
    const QImage image = view.grab().toImage();
    const QColor accent = QGuiApplication::palette().color(QPalette::Highlight);
    const QColor above = image.pixelColor(52, 52 - 36); // between radius 28 and 43, straight up
    const QColor below = image.pixelColor(52, 52 + 36);
    EXPECT_LT(std::abs(above.red() - accent.red()) + std::abs(above.blue() - accent.blue()), 60);
    EXPECT_GT(std::abs(below.red() - accent.red()) + std::abs(below.blue() - accent.blue()), 60);
}

// The chord in the feature: a release with a sector selected snaps it; a
// hot key while the dial is open closes it without its sector.
class SnapDialChord : public SnapDial {
protected:
    Settings settings{fake.defaults, QStringLiteral("app.quillon.Quillon")};
    ModifierWatcher modifiers;
    DragWatcher drags;
    HotKeyWatcher hotKeys;
    SnapFeature feature{settings, modifiers, drags, hotKeys};
    static constexpr platform::EventFlags chord = platform::KeyFlags::control | platform::KeyFlags::option;
};

TEST_F(SnapDialChord, ReleasingTheChordSnapsTheSelectedSector)
{
    feature.activate();
    fake.keyEventsImpl.sendFlags(chord);
    fake.queue.advance(0.3);
    ASSERT_TRUE(feature.mouseSnap().isOpen());
    moveBy(0, 60);
    fake.keyEventsImpl.sendFlags(0);
    EXPECT_FALSE(feature.mouseSnap().isOpen());
    EXPECT_EQ(fake.pointerImpl.moveMonitorCount(), 0);
    EXPECT_EQ(upFrame(), QRectF(0, 437.5, 1440, 437.5));
    EXPECT_TRUE(fake.log.contains("MouseSnapMonitor: snap topHalf"));
}

TEST_F(SnapDialChord, AHotKeySnapClosesTheDialWithoutItsSector)
{
    feature.activate();
    fake.keyEventsImpl.sendFlags(chord);
    fake.queue.advance(0.3);
    moveBy(0, 60);
    for (const auto& [ref, key] : fake.hotKeysImpl.registered) {
        if (key.keyCode == 123 && key.modifiers == 0x1800)
            fake.hotKeysImpl.fire(ref);
    }
    EXPECT_FALSE(feature.mouseSnap().isOpen());
    fake.keyEventsImpl.sendFlags(0);
    EXPECT_EQ(upFrame(), QRectF(0, 0, 720, 875)) << "the left half, not the top half";
}

TEST(FootprintTest, AShowDuringAFadeOutKeepsTheWindow)
{
    fakes::FakePlatform fake;
    FootprintWindow footprint;
    footprint.show(QRectF(0, 0, 720, 875));
    fake.queue.advance(0.2);
    EXPECT_DOUBLE_EQ(footprint.alpha(), 1.0);
    footprint.hide();
    EXPECT_TRUE(footprint.hiding());
    fake.queue.advance(0.06); // half way out
    EXPECT_GT(footprint.alpha(), 0.0);
    EXPECT_LT(footprint.alpha(), 1.0);
    footprint.show(QRectF(720, 0, 720, 875));
    fake.queue.advance(0.5); // past the fade-out's end
    EXPECT_TRUE(footprint.isShown());
    EXPECT_FALSE(footprint.hiding());
    EXPECT_DOUBLE_EQ(footprint.alpha(), 1.0);
    EXPECT_TRUE(fake.overlays.find(footprint.window())->shown);
    EXPECT_EQ(footprint.frame(), QRectF(720, 0, 720, 875)) << "glided to the new frame";

    footprint.hide();
    fake.queue.advance(FootprintWindow::hideDuration + 0.02);
    EXPECT_FALSE(footprint.isShown());
    EXPECT_FALSE(fake.overlays.find(footprint.window())->shown);
}

TEST(FootprintTest, AHideBeforeTheFadeInShowsAnythingTakesItAwayAtOnce)
{
    fakes::FakePlatform fake;
    FootprintWindow footprint;
    footprint.show(QRectF(0, 0, 720, 875));
    footprint.hide();
    fake.queue.advance(0.5);
    EXPECT_FALSE(footprint.isShown());
    EXPECT_DOUBLE_EQ(footprint.alpha(), 0.0);
    EXPECT_FALSE(fake.overlays.find(footprint.window())->shown);
}

TEST(FootprintTest, WithoutACompositorOnlyTheBorderShowsAndGoesAtOnce)
{
    fakes::FakePlatform fake;
    fake.overlays.translucentWindows = false;
    FootprintWindow footprint;
    footprint.show(QRectF(0, 0, 200, 100));
    const auto* record = fake.overlays.find(footprint.window());
    ASSERT_TRUE(record && record->shape);
    EXPECT_TRUE(record->shown);
    const QPainterPath& shape = *record->shape;
    EXPECT_TRUE(shape.contains(QPointF(100, 1)));   // the top border
    EXPECT_TRUE(shape.contains(QPointF(1, 50)));    // the left border
    EXPECT_FALSE(shape.contains(QPointF(100, 50))); // the inside shows what lies below
    EXPECT_FALSE(shape.contains(QPointF(5, 50)));
    footprint.hide();
    EXPECT_FALSE(footprint.isShown()) << "no fade";
    EXPECT_FALSE(footprint.hiding());
}

} // namespace
} // namespace quillon
