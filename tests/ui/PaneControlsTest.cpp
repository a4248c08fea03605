#include "UiFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/FormSection.h"
#include "ui/SettingsPaneView.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/HowItWorks.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/RowLabel.h"

#include <QLabel>
#include <QToolButton>

namespace quillon {
namespace {

struct PaneControls : ::testing::Test, testing::UiFixture {
    HowItWorks& helpOf(SettingsPaneView& view) { return *all<HowItWorks>(view).front(); }
};

TEST_F(PaneControls, NotchHeaderHasBorderAndNoSwitch)
{
    for (const SettingsPane pane : SettingsPane::features()) {
        SCOPED_TRACE(pane.rawValue().toStdString());
        FeatureHeader header(*model, pane, new QLabel("help"));
        const bool notch = pane == SettingsPane::notch;
        EXPECT_EQ(header.masterSwitch() == nullptr, notch);
        EXPECT_EQ(FeatureHeader::tileHasBorder(pane), notch);
        EXPECT_EQ(header.tile()->size(), QSize(44, 44));
        EXPECT_EQ(header.tile()->accessibleName(), pane.title());
    }
    // The border shows on the black tile: its edge is lighter than its middle.
    FeatureHeader notch(*model, SettingsPane::notch, nullptr);
    const QImage tile = notch.tile()->grab().toImage();
    EXPECT_GT(qGray(tile.pixel(22, 0)), qGray(tile.pixel(4, 22)) + 20);
}

TEST_F(PaneControls, HeaderShowsTheDisplayTitle)
{
    FeatureHeader header(*model, SettingsPane::colorPicker, nullptr);
    QStringList texts;
    for (const QLabel* label : header.findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains("Color"));
    EXPECT_TRUE(texts.contains(SettingsPane(SettingsPane::colorPicker).blurb()));
}

TEST_F(PaneControls, HowItWorksStartsExpandedAndRemembersPerPane)
{
    {
        SettingsPaneView snap(*model, SettingsPane::snap);
        EXPECT_TRUE(helpOf(snap).isExpanded());
        helpOf(snap).disclosure()->click();
        EXPECT_FALSE(helpOf(snap).isExpanded());
    }
    // Stored beside the profiles, not in them, and no observer hears of it.
    EXPECT_EQ(fake.defaults.standard().storedValue(SettingsKeys::helpExpanded("snap")),
              platform::PlistValue(false));
    settings().setProfile(Settings::Profile::two);
    model = std::make_unique<SettingsModel>(features());
    SettingsPaneView snap(*model, SettingsPane::snap);
    SettingsPaneView jump(*model, SettingsPane::jump);
    EXPECT_FALSE(helpOf(snap).isExpanded());
    EXPECT_TRUE(helpOf(jump).isExpanded());
    settings().setProfile(Settings::Profile::one);
}

TEST_F(PaneControls, HowItWorksReadsAnythingButABooleanAsExpanded)
{
    for (const platform::PlistValue& stored :
         {platform::PlistValue("no"), platform::PlistValue(qint64(0)), platform::PlistValue(QStringList{})}) {
        fake.defaults.standard().set(SettingsKeys::helpExpanded("jump"), stored);
        EXPECT_TRUE(HowItWorks::storedExpanded(SettingsPane::jump));
    }
}

TEST_F(PaneControls, HowItWorksHidesItsContentWhenCollapsed)
{
    auto* content = new QLabel("Hold the key");
    HowItWorks help(SettingsPane::focus, content);
    help.setExpanded(false);
    EXPECT_FALSE(content->isVisibleTo(&help));
    help.setExpanded(true);
    EXPECT_TRUE(content->isVisibleTo(&help));
}

TEST_F(PaneControls, KeyChipDrawsLinuxKeyNames)
{
    struct Case {
        const char* spec;
        QStringList parts;
    };
    const Case cases[] = {
        {"r⌘ r⌥ A", {"right", "Ctrl", "Alt", "A"}}, {"⌃⌥ ←", {"Super", "Alt", "←"}},
        {"hold ⌘V", {"hold", "Ctrl", "V"}},         {"r⌘ :", {"right", "Ctrl", ":"}},
        {"⌃⌥⇧C", {"Super", "Alt", "Shift", "C"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyChip(QString::fromUtf8(c.spec)).parts(), c.parts) << c.spec;
}

TEST_F(PaneControls, KeycapIsAtLeastFifteenWide)
{
    for (const char* label : {"", "A", ":", "Space"}) {
        const Keycap cap(label);
        EXPECT_GE(cap.sizeHint().width(), 15) << label;
    }
    EXPECT_GT(Keycap("Shift").sizeHint().width(), Keycap("A").sizeHint().width());
}

TEST_F(PaneControls, HotkeysPutOrBetweenChords)
{
    auto ors = [](const QStringList& keys) {
        Hotkeys hotkeys(keys);
        int count = 0;
        for (const QLabel* label : hotkeys.findChildren<QLabel*>())
            count += label->text() == "or";
        return std::pair(count, int(hotkeys.findChildren<KeyChip*>().size()));
    };
    EXPECT_EQ(ors({"r⌘"}), std::pair(0, 1));
    EXPECT_EQ(ors({"⌃⌥", "r⌘ r⌥ S", "r⌘ r⌥ D"}), std::pair(2, 3));
    EXPECT_EQ(ors({}), std::pair(0, 0));
}

TEST_F(PaneControls, RowLabelWithoutSubTextHasOneLine)
{
    EXPECT_EQ(RowLabel("Hide on repeat").findChildren<QLabel*>().size(), 1);
    const RowLabel both("Hide on repeat", "Press again to hide");
    ASSERT_TRUE(both.subLabel());
    EXPECT_EQ(both.subLabel()->font().pixelSize(), 11);
}

TEST_F(PaneControls, SectionHidesWithItsHeaderWhenNoRowShows)
{
    QWidget host;
    auto* section = new FormSection("Triggers", "Only while plugged in");
    section->setParent(&host);
    auto* row = new QLabel("row");
    section->addRow(row);
    host.show();
    EXPECT_TRUE(section->isVisible());
    row->hide();
    EXPECT_FALSE(section->isVisible());
    row->show();
    EXPECT_TRUE(section->isVisible());
    section->setSectionHidden(true);
    EXPECT_FALSE(section->isVisible());
    EXPECT_FALSE(section->headerLabel()->isVisible());
}

TEST_F(PaneControls, ToggleRowIsBoundAndNamed)
{
    FormSection section;
    auto* label = new RowLabel("Cycle windows of the same letter");
    ToggleSwitch* toggle =
        section.addToggleRow(label, model->bind(Settings::BoolKeyPath{&Settings::jumpCycleSameLetter,
                                                                      &Settings::setJumpCycleSameLetter}));
    EXPECT_EQ(toggle->accessibleName(), "Cycle windows of the same letter");
    const bool was = settings().jumpCycleSameLetter();
    EXPECT_EQ(toggle->isChecked(), was);
    toggle->click();
    EXPECT_EQ(settings().jumpCycleSameLetter(), !was);
}

} // namespace
} // namespace quillon
