#include "notch/CanvasSurface.h"
#include "notch/NotchController.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"

#include "common/QtPrint.h"
#include "fakes/FakePlatform.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class NotchSurfaceTest : public ::testing::Test {
protected:
    NotchSurfaceTest() { fake.displaysImpl.screenList = {fakes::makeScreen(QRectF(0, 0, 1440, 900), 0)}; }
    fakes::FakePlatform fake;
};

TEST_F(NotchSurfaceTest, ScreenChipsFloatInAClickThroughPanelOverTheNotch)
{
    NotchController controller(std::make_shared<ScreenSurface>());
    ASSERT_EQ(controller.surface().notchRect(), QRectF(660, 876, 120, 24));
    controller.showChip(NotchStates::spaceChip(2), 2.5, true);
    ASSERT_TRUE(controller.chipMount());
    auto* mount = dynamic_cast<ScreenSurface::PanelMount*>(controller.chipMount().get());
    ASSERT_TRUE(mount);
    const auto* record = fake.overlays.find(mount->panel());
    ASSERT_TRUE(record);
    EXPECT_EQ(record->style.level, 27);
    EXPECT_TRUE(record->style.clickThrough);
    EXPECT_TRUE(record->shown);
    const NotchBarView* bar = mount->bar();
    EXPECT_EQ(bar->parentWidget(), mount->panel());
    EXPECT_EQ(*record->frame,
              QRectF(660 - 14 - bar->leftContentWidth(), 876 - 14, bar->barSize().width(), 38));
    EXPECT_EQ(record->shapeCount, 0); // translucent windows need no shape

    fake.queue.advance(2.5 + 0.17);
    EXPECT_FALSE(controller.chipMount());
    EXPECT_FALSE(record->shown);
}

TEST_F(NotchSurfaceTest, WithoutTranslucencyThePanelTakesTheBodysShapeOnEveryFrame)
{
    fake.overlays.translucentWindows = false;
    NotchController controller(std::make_shared<ScreenSurface>());
    controller.showChip(NotchStates::spaceChip(2), 2.5, true);
    auto* mount = dynamic_cast<ScreenSurface::PanelMount*>(controller.chipMount().get());
    ASSERT_TRUE(mount);
    const auto* record = fake.overlays.find(mount->panel());
    // Growing from a line at the top edge: nothing shows at first.
    ASSERT_TRUE(record->shape);
    EXPECT_TRUE(record->shape->boundingRect().height() < 0.5);
    fake.queue.advance(0.1);
    EXPECT_GT(record->shapeCount, 4);
    EXPECT_GT(record->shape->boundingRect().height(), 10);
    fake.queue.advance(1);
    EXPECT_EQ(record->shape->boundingRect(), QRectF(QPointF(0, 0), mount->bar()->barSize()));
    // The body's fade cannot show: the body stays solid while it shrinks.
    controller.dismissChip();
    fake.queue.advance(0.1);
    const QRectF shrinking = record->shape->boundingRect();
    EXPECT_LT(shrinking.height(), 38);
    EXPECT_GT(shrinking.height(), 1);
    QImage image(mount->bar()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    mount->bar()->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(qAlpha(image.pixel(int(shrinking.center().x()), 1)), 255);
}

TEST_F(NotchSurfaceTest, LiveUpdatesSwapTheBarInTheSamePanel)
{
    NotchController controller(std::make_shared<ScreenSurface>());
    controller.showLiveChip(NotchStates::breakCountdown(9, true));
    auto* mount = dynamic_cast<ScreenSurface::PanelMount*>(controller.chipMount().get());
    ASSERT_TRUE(mount);
    QWidget* panel = mount->panel();
    controller.showLiveChip(NotchStates::breakCountdown(8, true));
    EXPECT_EQ(controller.chipMount().get(), mount);
    EXPECT_EQ(mount->panel(), panel);
    EXPECT_EQ(mount->bar()->parentWidget(), panel);
    EXPECT_EQ(fake.overlays.records.size(), 1u);
}

// Without a compositor the window is cut to the bar's body: a new content
// swapped in must never cut it to nothing (or to a sliver) on the way.
TEST_F(NotchSurfaceTest, SwappedContentKeepsTheWindowWholeAndARestingBarSendsNoShapes)
{
    fake.overlays.translucentWindows = false;
    NotchController controller(std::make_shared<ScreenSurface>());
    controller.showLiveChip(NotchStates::breakCountdown(9, true));
    auto* mount = dynamic_cast<ScreenSurface::PanelMount*>(controller.chipMount().get());
    ASSERT_TRUE(mount);
    fake.queue.advance(1);
    const auto* record = fake.overlays.find(mount->panel());
    const std::size_t settled = record->shapeBounds.size();
    const double height = mount->bar()->barSize().height();

    for (int seconds = 8; seconds >= 6; --seconds) {
        controller.showLiveChip(NotchStates::breakCountdown(seconds, true));
        fake.queue.advance(1);
    }
    ASSERT_GT(record->shapeBounds.size(), settled);
    for (std::size_t i = settled; i < record->shapeBounds.size(); ++i)
        EXPECT_DOUBLE_EQ(record->shapeBounds[i].height(), height) << "shape " << i << " cut the bar";
    EXPECT_LE(record->shapeBounds.size() - settled, 3u) << "one shape per new content at most";
}

TEST_F(NotchSurfaceTest, AWaveAtRestSendsNoShape)
{
    fake.overlays.translucentWindows = false;
    NotchController controller(std::make_shared<ScreenSurface>());
    controller.showLiveChip(NotchStates::nowPlaying(NowPlayingChipState::Phase::compact, "Song", "Band"));
    auto* mount = dynamic_cast<ScreenSurface::PanelMount*>(controller.chipMount().get());
    ASSERT_TRUE(mount);
    fake.queue.advance(1);
    const auto* record = fake.overlays.find(mount->panel());
    const int shapes = record->shapeCount;
    fake.queue.advance(2);
    EXPECT_EQ(record->shapeCount, shapes) << "a shape sent on every frame of the wave";
}

TEST_F(NotchSurfaceTest, NoNotchWhenSynthesisIsOffOnANotchlessDisplay)
{
    NotchGeometry::drawsWithoutNotch = false;
    EXPECT_FALSE(ScreenSurface().notchRect());
    NotchGeometry::drawsWithoutNotch = true;
}

TEST_F(NotchSurfaceTest, CanvasBarsHangFromTheNotchBelowTheLens)
{
    QWidget canvas;
    canvas.resize(500, 300);
    auto* lens = new QWidget(&canvas);
    lens->setGeometry(0, 0, 500, 300);
    // The notch at the top centre of the canvas, in its own coordinates.
    auto surface = std::make_shared<CanvasSurface>(&canvas, QRectF(190, 0, 120, 24), lens);
    EXPECT_EQ(surface->notchRect(), QRectF(190, 276, 120, 24));
    NotchController controller(surface);
    controller.showChip(NotchStates::spaceChip(2), 2.5, true);
    ASSERT_TRUE(controller.chipMount());
    NotchBarView* bar = controller.chipMount()->bar();
    EXPECT_EQ(bar->parentWidget(), &canvas);
    EXPECT_EQ(bar->pos(), QPoint(190 - 14 - int(bar->leftContentWidth()), 0));
    const auto children = canvas.children();
    EXPECT_LT(children.indexOf(bar), children.indexOf(lens)); // stacked under the lens
    fake.queue.advance(2.5 + 0.17);
    EXPECT_FALSE(controller.chipMount());
    EXPECT_TRUE(bar->isHidden());
}

} // namespace
