#include "notch/OCRRestartPrompt.h"

#include "fakes/FakePlatform.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace quillon;

namespace {

class OCRRestartPromptTest : public ::testing::Test {
protected:
    OCRRestartPromptTest()
    {
        NotchGeometry::drawsWithoutNotch = true;
        fake.displaysImpl.setScreens({fakes::makeScreen(QRectF(0, 0, 1440, 900))});
    }
    ~OCRRestartPromptTest() override { NotchGeometry::drawsWithoutNotch = true; }

    fakes::FakePlatform fake;
    NotchStage stage;
    OCRRestartPrompt prompt{stage};
    QStringList calls;
};

TEST_F(OCRRestartPromptTest, HangsFromTheTopOfTheScreenUnderTheNotch)
{
    prompt.show([] {}, [] {});
    ASSERT_TRUE(prompt.panel());
    const auto notch = NotchGeometry::hudScreen()->notch;
    const auto* record = fake.overlays.find(prompt.panel());
    ASSERT_TRUE(record && record->frame);
    EXPECT_EQ(record->frame->size(), QSizeF(226, notch.height() + 68));
    EXPECT_DOUBLE_EQ(record->frame->bottom(), 900); // y up: the top of the screen
    EXPECT_DOUBLE_EQ(record->frame->center().x(), notch.center().x());
    EXPECT_EQ(record->style.level, OCRRestartPrompt::panelLevel);
    EXPECT_FALSE(record->style.clickThrough);
    EXPECT_TRUE(record->shown);
    EXPECT_TRUE(stage.arbiter().takeovers.count(NotchTakeover::ocrPrompt));
}

TEST_F(OCRRestartPromptTest, EachButtonClosesThePromptBeforeItsCallback)
{
    for (const bool restart : {true, false}) {
        calls.clear();
        prompt.show(
            [&] {
                calls << (stage.arbiter().takeovers.empty() ? "restart after close" : "restart while open");
            },
            [&] {
                calls << (stage.arbiter().takeovers.empty() ? "dismiss after close" : "dismiss while open");
            });
        ASSERT_TRUE(prompt.panel());
        (restart ? prompt.panel()->restartButton() : prompt.panel()->dismissButton())->click();
        EXPECT_EQ(calls, QStringList{restart ? "restart after close" : "dismiss after close"});
        EXPECT_FALSE(prompt.panel());
    }
}

TEST_F(OCRRestartPromptTest, WithoutANotchNothingShowsAndNoTakeoverStays)
{
    prompt.show([] {}, [] {});
    NotchGeometry::drawsWithoutNotch = false;
    prompt.show([] {}, [] {});
    EXPECT_FALSE(prompt.panel());
    EXPECT_TRUE(stage.arbiter().takeovers.empty());
}

TEST_F(OCRRestartPromptTest, WithoutACompositorThePanelTakesItsOutline)
{
    fake.overlays.translucentWindows = false;
    prompt.show([] {}, [] {});
    const auto* record = fake.overlays.find(prompt.panel());
    ASSERT_TRUE(record && record->shape);
    const QRectF bounds = record->shape->boundingRect();
    EXPECT_EQ(bounds, QRectF(0, 0, 226, prompt.panel()->height()));
    // Flat at the top, rounded at the bottom.
    EXPECT_TRUE(record->shape->contains(QPointF(0.5, 0.5)));
    EXPECT_FALSE(record->shape->contains(QPointF(0.5, bounds.bottom() - 0.5)));
}

} // namespace
