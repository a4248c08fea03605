#include "PaneFixture.h"

#include "ui/controls/FeatureHeader.h"
#include "ui/controls/HowItWorks.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/ColorPickerPane.h"

namespace quillon {
namespace {

using ColorPickerPaneTest = testing::PaneFixture<ColorPickerPane>;

TEST_F(ColorPickerPaneTest, HeaderAloneWithTheKeyAndNothingToGrant)
{
    ColorPickerPane& view = pane();
    EXPECT_EQ(view.keyChip()->parts(), (QStringList{"Super", "Alt", "Shift", "C"}));
    // The header's "How it works" is the only section.
    const auto sections = view.findChildren<FormSection*>();
    ASSERT_EQ(sections.size(), 1);
    EXPECT_NE(qobject_cast<HowItWorks*>(sections.front()), nullptr);
    QStringList titles;
    for (RowLabel* label : view.findChildren<RowLabel*>())
        titles << label->title();
    EXPECT_TRUE(titles.contains("Pick a color"));
    EXPECT_TRUE(titles.contains("Nothing to grant"));

    // The header's switch is the feature's.
    ToggleSwitch* master = view.findChild<FeatureHeader*>()->masterSwitch();
    master->click();
    EXPECT_TRUE(settings().isColorPickerEnabled());
}

} // namespace
} // namespace quillon
