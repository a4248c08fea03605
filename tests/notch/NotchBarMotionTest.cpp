#include "notch/NotchBarMotion.h"

#include "common/QtPrint.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

const NotchShape full = NotchShape::of(QRectF(0, 0, 300, 38), 16);
const NotchShape line = NotchShape::of(QRectF(90, 38, 120, 0), 10);

NotchBarMotion motion()
{
    return NotchBarMotion(full, line, 38);
}

TEST(NotchBarMotion, OpensFromALineAtTheTopWithASpringThatOvershoots)
{
    auto m = motion();
    EXPECT_FALSE(m.frameAt(0).body); // nothing drawn before it opens
    m.animateIn(std::nullopt, 10);
    EXPECT_EQ(*m.frameAt(10).bodyShape, line);
    const double settle = NotchBarMotion::openSpring().settlingDuration();
    EXPECT_GT(settle, 0.3);
    EXPECT_LT(settle, 1.0);
    bool overshot = false;
    for (double t = 10; t < 10 + settle; t += 1.0 / 120)
        overshot = overshot || m.frameAt(t).bodyShape->rect.height() > full.rect.height();
    EXPECT_TRUE(overshot);
    EXPECT_EQ(*m.frameAt(10 + settle).bodyShape, full);
    // The content fades in over 0.12 s.
    EXPECT_EQ(m.frameAt(10).contentAlpha, 0);
    EXPECT_GT(m.frameAt(10.06).contentAlpha, 0.2);
    EXPECT_EQ(m.frameAt(10.12).contentAlpha, 1);
    EXPECT_DOUBLE_EQ(m.busyUntil(), 10 + settle);
}

TEST(NotchBarMotion, OpensFromAGivenShapeWithTheContentShownAtOnce)
{
    auto m = motion();
    const NotchShape cue = NotchShape::of(QRectF(100, 20, 100, 18), 10);
    m.animateIn(cue, 10);
    EXPECT_EQ(*m.frameAt(10).bodyShape, cue);
    EXPECT_EQ(m.frameAt(10).contentAlpha, 1);
}

TEST(NotchBarMotion, ClosesIntoTheNotchAndStaysClosed)
{
    auto m = motion();
    m.showStatic();
    EXPECT_EQ(*m.frameAt(5).bodyShape, full);
    EXPECT_EQ(m.frameAt(5).contentAlpha, 1);
    EXPECT_DOUBLE_EQ(m.animateOut(10), 10.17);
    EXPECT_TRUE(m.isClosing());
    const auto midway = m.frameAt(10.08);
    EXPECT_LT(midway.bodyOpacity, 1);
    EXPECT_GT(midway.bodyOpacity, 0);
    EXPECT_LT(midway.bodyShape->rect.height(), full.rect.height());
    for (double t : {10.17, 11.0, 60.0}) {
        m.prune(t);
        const auto f = m.frameAt(t);
        EXPECT_EQ(*f.bodyShape, line) << t;
        EXPECT_EQ(f.bodyOpacity, 0) << t;
        EXPECT_EQ(f.contentAlpha, 0) << t;
    }
    // Opening again drops the closing first.
    m.animateIn(std::nullopt, 61);
    EXPECT_FALSE(m.isClosing());
    EXPECT_EQ(m.frameAt(61).bodyOpacity, 1);
    EXPECT_EQ(*m.frameAt(63).bodyShape, full);
}

TEST(NotchBarMotion, PulsesFlashAndGoEachOnItsOwn)
{
    auto m = motion();
    m.showStatic();
    m.pulse(QRectF(20, 7, 24, 24), 10);
    m.pulse(QRectF(20, 7, 24, 24), 10.2);
    EXPECT_EQ(m.frameAt(10).highlights.front().rect, QRectF(16, 5, 32, 28));
    EXPECT_EQ(m.frameAt(10).highlights.front().opacity, 0);
    EXPECT_DOUBLE_EQ(m.frameAt(10.06).highlights.front().opacity, 1);
    EXPECT_DOUBLE_EQ(m.frameAt(10.2).highlights.front().opacity, 1);
    EXPECT_EQ(m.frameAt(10.3).highlights.size(), 2u);
    EXPECT_EQ(m.frameAt(10.55).highlights.size(), 1u);
    m.prune(10.7);
    EXPECT_TRUE(m.frameAt(10.7).highlights.empty());
    EXPECT_DOUBLE_EQ(m.busyUntil(), 0);
}

TEST(NotchBarMotion, OutlineSweepsThenSettlesOrBreathes)
{
    const struct {
        const char* name;
        bool breathing, reduceMotion;
        bool repeats;
    } cases[] = {
        {"plain", false, false, false},
        {"breathing", true, false, true},
        {"breathing with reduced motion settles once", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = motion();
        m.showStatic();
        m.setAccentOutline(true, Qt::red, c.breathing, c.reduceMotion, 10);
        EXPECT_EQ(m.repeats(), c.repeats);
        auto f = m.frameAt(10);
        ASSERT_EQ(f.outline.size(), 2u);
        EXPECT_EQ(f.outline[0].strokeEnd, 0);
        EXPECT_EQ(f.outline[0].opacity, 1); // full strength while it sweeps
        EXPECT_GT(m.frameAt(10.2).outline[1].strokeEnd, 0.5);
        EXPECT_EQ(m.frameAt(10.35).outline[0].strokeEnd, 1);
        // Both halves start at the top edge and meet at the bottom centre.
        EXPECT_EQ(f.outline[0].path.pointAtPercent(0), QPointF(1, 0));
        EXPECT_EQ(f.outline[1].path.pointAtPercent(0), QPointF(299, 0));
        EXPECT_EQ(f.outline[0].path.pointAtPercent(1), QPointF(150, 37));
        EXPECT_EQ(f.outline[1].path.pointAtPercent(1), QPointF(150, 37));
        const double settled = c.repeats ? 10.35 + 0.9 : 10.35 + 0.4;
        m.prune(settled);
        EXPECT_NEAR(m.frameAt(settled).outline[0].opacity, 0.35, 1e-9);
        const double later = settled + 0.9;
        m.prune(later);
        EXPECT_NEAR(m.frameAt(later).outline[0].opacity, c.repeats ? 1.0 : 0.35, 1e-9);
    }
}

TEST(NotchBarMotion, OutlineKeepsItsFirstColourUntilRemoved)
{
    auto m = motion();
    m.setAccentOutline(true, Qt::red, false, false, 10);
    m.setAccentOutline(true, Qt::blue, false, false, 11);
    EXPECT_EQ(m.frameAt(11).outline[0].color, QColor(Qt::red));
    EXPECT_EQ(m.frameAt(11).outline[0].strokeEnd, 1);
    m.setAccentOutline(false, Qt::red, false, false, 12);
    EXPECT_TRUE(m.frameAt(12).outline.empty());
    m.setAccentOutline(true, Qt::blue, false, false, 13);
    EXPECT_EQ(m.frameAt(13).outline[0].color, QColor(Qt::blue));
    EXPECT_EQ(m.frameAt(13).outline[0].strokeEnd, 0); // sweeps again
}

TEST(NotchBarMotion, ClosingFadesTheOutline)
{
    auto m = motion();
    m.showStatic();
    m.setAccentOutline(true, Qt::red, true, false, 10);
    m.animateOut(12);
    EXPECT_FALSE(m.repeats());
    EXPECT_EQ(m.frameAt(12.15).outline[0].opacity, 0);
    m.prune(13);
    EXPECT_EQ(m.frameAt(13).outline[0].opacity, 0);
}

} // namespace
