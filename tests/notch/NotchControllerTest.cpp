#include "notch/NotchController.h"
#include "notch/NotchBarView.h"

#include "common/QtPrint.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

// Mounts that keep their bars after removal, so nothing is deleted under a
// running completion, and that tell which bars are on screen.
class FakeMount final : public NotchMount {
public:
    FakeMount(NotchBarView* bar, const QRectF& frame)
        : frame(frame)
    {
        m_bars.emplace_back(bar);
    }
    NotchBarView* bar() const override { return m_bars.back().get(); }
    void replace(NotchBarView* bar, const QRectF& newFrame) override
    {
        m_bars.emplace_back(bar);
        frame = newFrame;
        ++replaced;
    }
    void move(const QRectF& newFrame) override { frame = newFrame; }
    void remove() override { removed = true; }

    QRectF frame;
    int replaced = 0;
    bool removed = false;

private:
    std::vector<std::unique_ptr<NotchBarView>> m_bars;
};

class FakeSurface final : public NotchSurface {
public:
    std::optional<QRectF> notchRect() const override { return notch; }
    std::shared_ptr<NotchMount> mount(NotchBarView* bar, const QRectF& frame) override
    {
        mounts.push_back(std::make_shared<FakeMount>(bar, frame));
        return mounts.back();
    }
    std::optional<QRectF> notch = QRectF(660, 876, 120, 24);
    std::vector<std::shared_ptr<FakeMount>> mounts;
};

QString sourceName(NotchSource source)
{
    switch (source) {
    case NotchSource::chip:
        return QStringLiteral("chip");
    case NotchSource::liveChip:
        return QStringLiteral("liveChip");
    case NotchSource::hints:
        return QStringLiteral("hints");
    default:
        return QStringLiteral("other");
    }
}

NotchContent named(const QString& name)
{
    NotchContent content;
    content.caption = name;
    return content;
}

// One step of a sequence: an operation on the controller, a step of the
// clock, or a look at what the person sees and what the stage was told.
struct Step {
    enum Kind {
        chip,
        staticChip,
        live,
        dismiss,
        hints,
        dropAnimated,
        dropAtOnce,
        teardown,
        advance,
        refuse,
        expect
    };
    Kind kind;
    QString name = {};
    double seconds = 0;
    const char* shown = nullptr;  // captions of the bars on screen
    const char* claims = nullptr; // every claim (+) and release (-) so far
};

Step chip(const char* name, double seconds = 2.5)
{
    return {Step::chip, name, seconds};
}
Step staticChip(const char* name)
{
    return {Step::staticChip, name};
}
Step live(const char* name)
{
    return {Step::live, name};
}
Step hints(const char* name)
{
    return {Step::hints, name};
}
Step advance(double seconds)
{
    return {Step::advance, {}, seconds};
}
Step expect(const char* shown, const char* claims)
{
    return {Step::expect, {}, 0, shown, claims};
}
const Step dismiss{Step::dismiss};
const Step dropAnimated{Step::dropAnimated};
const Step dropAtOnce{Step::dropAtOnce};
const Step teardown{Step::teardown};
const Step refuse{Step::refuse};

struct Sequence {
    const char* name;
    std::vector<Step> steps;
};

// A controller on a fake surface and the manual clock, with every claim and
// release it reports.
struct Harness {
    Harness()
    {
        controller.onSource = [this](NotchSource source, bool claimed) {
            claims << (claimed ? u'+' : u'-') + sourceName(source);
        };
    }

    QString shown() const
    {
        QStringList captions;
        for (const auto& mount : surface->mounts) {
            if (!mount->removed)
                captions << mount->bar()->layout().caption()->view.parts.front().text;
        }
        return captions.join(u' ');
    }

    void run(const Step& step)
    {
        switch (step.kind) {
        case Step::chip:
            controller.showChip(named(step.name), step.seconds, true);
            break;
        case Step::staticChip:
            controller.showChip(named(step.name), 2.5, false);
            break;
        case Step::live:
            controller.showLiveChip(named(step.name));
            break;
        case Step::dismiss:
            controller.dismissChip();
            break;
        case Step::hints:
            controller.showHints(step.name.isEmpty() ? NotchContent() : named(step.name), true);
            break;
        case Step::dropAnimated:
            controller.dropHints(true, false);
            break;
        case Step::dropAtOnce:
            controller.dropHints(false, false);
            break;
        case Step::teardown:
            controller.teardown();
            break;
        case Step::advance:
            fake.queue.advance(step.seconds);
            break;
        case Step::refuse:
            controller.canPresent = [] { return false; };
            break;
        case Step::expect:
            EXPECT_EQ(shown(), QString::fromUtf8(step.shown));
            EXPECT_EQ(claims.join(u' '), QString::fromUtf8(step.claims));
            break;
        }
    }

    fakes::FakePlatform fake;
    std::shared_ptr<FakeSurface> surface = std::make_shared<FakeSurface>();
    NotchController controller{surface};
    QStringList claims;
};

TEST(NotchController, SequencesOfChipsAndHints)
{
    const Sequence sequences[] = {
        {"a timed chip opens, stays for its time, closes and lets go",
         {chip("A"), expect("A", "+chip"), advance(2.4), expect("A", "+chip"), advance(0.1),
          expect("A", "+chip"), advance(0.17), expect("", "+chip -chip")}},
        {"two chips in a row keep one claim and only the second timer",
         {chip("A"), advance(1), chip("B"), expect("B", "+chip"), advance(2.0), expect("B", "+chip"),
          advance(0.5), advance(0.17), expect("", "+chip -chip")}},
        {"a chip parked under hints opens after the hints drop, for its full time",
         {hints("H"), chip("A"), expect("H", "+hints"), dropAnimated, expect("H", "+hints -hints"),
          advance(0.17), expect("A", "+hints -hints +chip"), advance(2.45),
          expect("A", "+hints -hints +chip"), advance(0.05 + 0.17), expect("", "+hints -hints +chip -chip")}},
        {"of two parked chips only the later opens",
         {hints("H"), chip("A"), chip("B"), dropAnimated, advance(0.17), expect("B", "+hints -hints +chip")}},
        {"hints dropped at once leave the parked chip parked",
         {hints("H"), chip("A"), dropAtOnce, advance(1), expect("", "+hints -hints")}},
        {"teardown while closing releases once",
         {chip("A"), advance(2.55), expect("A", "+chip"), teardown, expect("", "+chip -chip"), advance(1),
          expect("", "+chip -chip")}},
        {"a late completion spares a newer chip and its claim",
         {chip("A"), dismiss, chip("B"), expect("B", "+chip"), advance(0.5), expect("B", "+chip"),
          advance(2.0), advance(0.17), expect("", "+chip -chip")}},
        {"a live chip updates in place and holds the notch until dismissed",
         {live("L1"), live("L2"), live("L3"), expect("L3", "+liveChip"), advance(60),
          expect("L3", "+liveChip"), dismiss, advance(0.17), expect("", "+liveChip -liveChip")}},
        {"a live chip replaces a timed chip at once and cancels its timer",
         {chip("A"), live("L"), expect("L", "+chip -chip +liveChip"), advance(5),
          expect("L", "+chip -chip +liveChip")}},
        {"a live update while the live chip closes opens a new live chip",
         {live("L1"), dismiss, live("L2"), advance(0.5), expect("L2", "+liveChip")}},
        {"hints clear the chip slot at once",
         {chip("A"), hints("H"), expect("H", "+chip -chip +hints"), advance(5),
          expect("H", "+chip -chip +hints")}},
        {"empty hints let go of the hints claim and show nothing",
         {hints("H"), hints(""), expect("", "+hints -hints")}},
        {"a chip shown without animation stays until replaced",
         {staticChip("A"), advance(30), expect("A", "+chip"), chip("B"), expect("B", "+chip")}},
        {"while nothing may present, a chip showing keeps its bar and timer",
         {chip("A"), refuse, chip("B"), expect("A", "+chip"), advance(2.5 + 0.17),
          expect("", "+chip -chip")}},
        {"a live chip that cannot be built lets go of the slot it cleared",
         {chip("A"), refuse, live("L"), expect("", "+chip -chip"), advance(5), expect("", "+chip -chip")}},
        {"dismissing an empty slot releases nothing twice",
         {dismiss, expect("", ""), chip("A"), dismiss, dismiss, advance(0.17), expect("", "+chip -chip")}},
    };
    for (const auto& sequence : sequences) {
        SCOPED_TRACE(sequence.name);
        Harness h;
        for (size_t i = 0; i < sequence.steps.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "step " << i);
            h.run(sequence.steps[i]);
        }
    }
}

TEST(NotchController, BarFrameHangsFromTheNotch)
{
    Harness h;
    NotchContent content;
    content.left = {NotchBarItem{}};
    content.left.front().text = QStringLiteral("A"); // a 20-wide keycap
    content.caption = QStringLiteral("x");
    h.controller.showChip(content, 2.5, true);
    ASSERT_EQ(h.surface->mounts.size(), 1u);
    // 14 margin + 20 keycap left of the notch; the caption strip 14 below it.
    EXPECT_EQ(h.surface->mounts.front()->frame, QRectF(660 - 34, 876 - 14, 34 + 120 + 14, 24 + 14));
}

TEST(NotchController, LiveUpdatesSwapBarsInPlaceWithoutAnimation)
{
    Harness h;
    h.controller.showLiveChip(named("0:09"));
    ASSERT_EQ(h.surface->mounts.size(), 1u);
    EXPECT_LT(h.surface->mounts.front()->bar()->currentFrame().contentAlpha, 1.0); // fading in
    h.fake.queue.advance(1);
    h.controller.showLiveChip(named("0:08"));
    h.controller.showLiveChip(named("0:07"));
    ASSERT_EQ(h.surface->mounts.size(), 1u);
    EXPECT_EQ(h.surface->mounts.front()->replaced, 2);
    const auto frame = h.surface->mounts.front()->bar()->currentFrame();
    EXPECT_EQ(frame.contentAlpha, 1.0);
    ASSERT_TRUE(frame.bodyShape);
    EXPECT_EQ(*frame.bodyShape, h.surface->mounts.front()->bar()->layout().fullShape());
    EXPECT_EQ(h.controller.chipSource(), NotchSource::liveChip);
}

TEST(NotchController, ShowsNothingWithoutANotch)
{
    Harness h;
    h.surface->notch.reset();
    h.controller.showChip(named("A"), 2.5, true);
    h.controller.showHints(named("H"), true);
    EXPECT_TRUE(h.surface->mounts.empty());
    EXPECT_TRUE(h.claims.isEmpty());
}

} // namespace
