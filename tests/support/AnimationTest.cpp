#include "support/Animation.h"
#include "support/Animator.h"

#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(Spring, RisesOvershootsAndSettlesAtRest)
{
    const Spring spring{1, 430, 26};
    EXPECT_EQ(spring.value(0), 0);
    double peak = 0;
    for (double t = 0; t < 1; t += 0.001)
        peak = std::max(peak, spring.value(t));
    EXPECT_GT(peak, 1.05); // an underdamped spring overshoots
    const double settle = spring.settlingDuration();
    for (double t = settle; t < settle + 2; t += 0.01)
        EXPECT_NEAR(spring.value(t), 1, 0.001);
    // Stiffer damping, no overshoot; all settle.
    for (const Spring s : {Spring{1, 100, 20}, Spring{1, 100, 40}}) {
        for (double t = 0; t < 3; t += 0.01)
            EXPECT_LE(s.value(t), 1 + 1e-9);
        EXPECT_NEAR(s.value(s.settlingDuration()), 1, 0.001);
    }
}

TEST(TimingCurve, EasesRunFromStartToEndMonotonically)
{
    for (const TimingCurve& curve : {TimingCurve::linear(), TimingCurve::easeOut(),
                                     TimingCurve::easeInEaseOut(), TimingCurve::easeDefault()}) {
        EXPECT_EQ(curve(0), 0);
        EXPECT_EQ(curve(1), 1);
        double last = 0;
        for (double f = 0.01; f < 1; f += 0.01) {
            EXPECT_GE(curve(f), last);
            last = curve(f);
        }
    }
    EXPECT_GT(TimingCurve::easeOut()(0.25), 0.35); // fast start
    EXPECT_NEAR(TimingCurve::easeInEaseOut()(0.5), 0.5, 1e-6);
}

TEST(Animation, AppliesOnlyInItsTimeUnlessFilled)
{
    Animation a;
    a.from = 2;
    a.to = 4;
    a.begin = 10;
    a.duration = 1;
    EXPECT_FALSE(a.valueAt(9.5));
    EXPECT_DOUBLE_EQ(*a.valueAt(10.5), 3);
    EXPECT_FALSE(a.valueAt(11));
    a.fillBackwards = a.fillForwards = true;
    EXPECT_DOUBLE_EQ(*a.valueAt(9.5), 2);
    EXPECT_DOUBLE_EQ(*a.valueAt(12), 4);

    Animation wave = a;
    wave.autoreverses = wave.repeatsForever = true;
    EXPECT_DOUBLE_EQ(*wave.valueAt(11.5), 3); // on its way back
    EXPECT_DOUBLE_EQ(*wave.valueAt(12), 2);
    EXPECT_DOUBLE_EQ(*wave.valueAt(1011), 4);
    wave.timeOffset = 0.5;
    EXPECT_DOUBLE_EQ(*wave.valueAt(10), 3);
    EXPECT_FALSE(wave.isFinished(1e6));

    AnimatedValue value{7, a};
    value.animation->fillForwards = false;
    EXPECT_DOUBLE_EQ(value.at(10.5), 3);
    value.prune(11);
    EXPECT_FALSE(value.animation);
    EXPECT_DOUBLE_EQ(value.at(11), 7);
}

class AnimatorTest : public ::testing::Test {
protected:
    fakes::FakePlatform fake;
    int frames = 0;
};

TEST_F(AnimatorTest, RunsFramesUntilDoneAndCompletionsOnTime)
{
    Animator animator([this] { ++frames; });
    const double start = Animator::now();
    std::vector<double> completed;
    animator.at(start + 0.17, [&] { completed.push_back(Animator::now() - start); });
    animator.runUntil(start + 0.5);
    fake.queue.advance(0.1699);
    EXPECT_TRUE(completed.empty());
    fake.queue.advance(0.0001);
    ASSERT_EQ(completed.size(), 1u);
    EXPECT_NEAR(completed[0], 0.17, 1e-6);
    fake.queue.advance(1);
    EXPECT_NEAR(frames, 0.5 * 60 + 1, 2); // frame rate, plus the completion's own frame
    EXPECT_FALSE(animator.isRunning());
    EXPECT_EQ(fake.queue.pendingCount(), 0);

    animator.setContinuous(true);
    const int before = frames;
    fake.queue.advance(1);
    EXPECT_NEAR(frames - before, 60, 1);
    animator.setContinuous(false);
    fake.queue.advance(1);
    EXPECT_EQ(fake.queue.pendingCount(), 0);
}

TEST_F(AnimatorTest, CompletionsCanBeDroppedBroughtForwardOrEndTheirOwner)
{
    auto animator = std::make_unique<Animator>([this] { ++frames; });
    const double start = Animator::now();
    int ran = 0;
    const int dropped = animator->at(start + 0.1, [&] { ++ran; });
    animator->drop(dropped);
    const int soon = animator->at(start + 5, [&] { ++ran; });
    animator->fireSoon(soon);
    fake.queue.advance(0.02);
    EXPECT_EQ(ran, 1);
    // A completion that destroys the driver stops it cleanly.
    animator->at(Animator::now() + 0.1, [&] { animator.reset(); });
    animator->at(Animator::now() + 0.1, [&] { ++ran; });
    fake.queue.advance(0.2);
    EXPECT_FALSE(animator);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(fake.queue.pendingCount(), 0);
}

} // namespace
