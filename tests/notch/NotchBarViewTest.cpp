#include "notch/NotchBarView.h"
#include "notch/NotchStates.h"

#include "common/QtPrint.h"
#include "fakes/FakePlatform.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class NotchBarViewTest : public ::testing::Test {
protected:
    QImage render(NotchBarView& bar)
    {
        QImage image(bar.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        bar.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return image;
    }
    fakes::FakePlatform fake;
};

TEST_F(NotchBarViewTest, RendersBlackInsideTheOutlineAndNothingOutside)
{
    NotchBarView bar(NotchStates::sessionChip(true, 25), {120, 24}, 14);
    EXPECT_EQ(bar.size(), QSize(int(std::ceil(bar.barSize().width())), 38));
    // Before it opens there is no body at all.
    QImage image = render(bar);
    EXPECT_EQ(qAlpha(image.pixel(bar.width() / 2, 5)), 0);

    bar.showStatic();
    image = render(bar);
    const int w = image.width(), h = image.height();
    const QRgb inside = image.pixel(w / 2, 3); // above the caption, in the notch's column
    EXPECT_EQ(qAlpha(inside), 255);
    EXPECT_EQ(qRed(inside) + qGreen(inside) + qBlue(inside), 0);
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255);   // the top corners are square
    EXPECT_EQ(qAlpha(image.pixel(0, h - 1)), 0); // the bottom ones rounded
    EXPECT_EQ(qAlpha(image.pixel(w - 1, h - 1)), 0);
    EXPECT_EQ(qAlpha(image.pixel(w / 2, h - 1)), 255);
    // Something light is drawn: the items and the caption.
    int light = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            light += qGray(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    EXPECT_GT(light, 20);
}

TEST_F(NotchBarViewTest, ClosingCompletesWhenTheClockSaysSo)
{
    NotchBarView bar(NotchStates::spaceChip(3), {120, 24}, 14);
    bar.animateIn();
    fake.queue.advance(1);
    int completions = 0;
    bar.animateOut([&] { ++completions; });
    fake.queue.advance(0.16);
    EXPECT_EQ(completions, 0);
    fake.queue.advance(0.01);
    EXPECT_EQ(completions, 1);
    fake.queue.advance(1);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(qAlpha(render(bar).pixel(bar.width() / 2, 3)), 0); // closed and transparent
}

TEST_F(NotchBarViewTest, ReopeningAClosingBarRunsItsCompletion)
{
    NotchBarView bar(NotchStates::spaceChip(3), {120, 24}, 14);
    bar.showStatic();
    int completions = 0;
    bar.animateOut([&] { ++completions; });
    fake.queue.advance(0.05);
    bar.animateIn();
    fake.queue.advance(0.02);
    EXPECT_EQ(completions, 1);
    fake.queue.advance(1);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(*bar.currentFrame().bodyShape, bar.layout().fullShape());
}

TEST_F(NotchBarViewTest, DarkOutlineColoursAreLightenedToShowOnBlack)
{
    const struct {
        QColor picked;
        QColor drawn;
    } cases[] = {
        {QColor(0, 0, 0), QColor::fromRgbF(0.4f, 0.4f, 0.4f)},
        {QColor(255, 200, 0), QColor(255, 200, 0)},
        {QColor(0, 0, 255), QColor::fromRgbF(0.4f, 0.4f, 1.0f)}, // luma 0.114
    };
    for (const auto& c : cases) {
        NotchBarView bar(NotchStates::colorChip("#hex", c.picked), {120, 24}, 14);
        const auto outline = bar.currentFrame().outline;
        ASSERT_EQ(outline.size(), 2u);
        EXPECT_EQ(outline[0].color.rgba(), c.drawn.rgba()) << c.picked.name().toStdString();
    }
}

TEST_F(NotchBarViewTest, ReducedMotionStopsTheBreathing)
{
    NotchBarView breathing(NotchStates::spaceChip(3), {120, 24}, 14);
    breathing.setAccentOutline(true, Qt::red, true);
    fake.queue.advance(10);
    const double before = breathing.currentFrame().outline[0].opacity;
    fake.queue.advance(0.9);
    EXPECT_GT(std::abs(breathing.currentFrame().outline[0].opacity - before), 0.1); // still moving
    fake.motion.reduce = true;
    NotchBarView calm(NotchStates::spaceChip(3), {120, 24}, 14);
    calm.setAccentOutline(true, Qt::red, true);
    fake.queue.advance(10);
    EXPECT_NEAR(calm.currentFrame().outline[0].opacity, 0.35, 1e-9);
    EXPECT_EQ(fake.queue.pendingCount(), 1); // only the breathing bar still asks for frames
}

TEST_F(NotchBarViewTest, PulsesOnlyKnownKeys)
{
    NotchBarItem key;
    key.text = QStringLiteral("S");
    NotchBarView bar(NotchStates::leaderHints({key, key}, std::nullopt), {120, 24}, 14);
    bar.showStatic();
    bar.pulse(QStringLiteral("nothing"));
    EXPECT_TRUE(bar.currentFrame().highlights.empty());
    bar.pulse(QStringLiteral("S"));
    fake.queue.advance(0.1);
    bar.pulse(QStringLiteral("S"));
    const auto highlights = bar.currentFrame().highlights;
    ASSERT_EQ(highlights.size(), 2u);
    // The later item with the key is the one that flashes: the right wing's.
    EXPECT_GT(highlights[0].rect.left(), bar.layout().metrics().notchX);
    fake.queue.advance(1);
    EXPECT_TRUE(bar.currentFrame().highlights.empty());
}

TEST_F(NotchBarViewTest, ClicksPassThroughToWhatLiesBehind)
{
    QWidget host;
    host.resize(400, 100);
    auto* bar = new NotchBarView(NotchStates::spaceChip(3), {120, 24}, 14, &host);
    bar->showStatic();
    EXPECT_EQ(host.childAt(bar->geometry().center()), nullptr);
}

} // namespace
