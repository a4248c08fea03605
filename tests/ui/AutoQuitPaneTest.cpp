#include "AppListPaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/SegmentedControl.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/AutoQuitPane.h"
#include "ui/panes/PaneKit.h"

#include <QPushButton>

namespace quillon {
namespace {

struct AutoQuitPaneFixture : testing::AppListPaneFixture<AutoQuitPane> {
    void pick(const QString& title)
    {
        ChoiceBox& box = *pane().intervalBox();
        const int index = box.findText(title);
        ASSERT_GE(index, 0) << title.toStdString();
        box.setCurrentIndex(index);
        emit box.activated(index);
        settle();
    }
};

using AutoQuitPaneStateTable = AutoQuitPaneFixture;
using AutoQuitPaneWidget = AutoQuitPaneFixture;

QString warningFor(const char* minutes)
{
    return QStringLiteral("Every app you haven't used for ") + minutes +
           " will be quit — including ones with unsaved work.";
}

TEST_F(AutoQuitPaneStateTable, StoredValuesReadAsThePaneShowsThem)
{
    using P = platform::PlistValue;
    struct Case {
        qint64 minutes;
        std::optional<P> listMode;
        // Expected.
        std::vector<int> choices;
        QStringList titles;
        int selected;
        bool excludeListed;
        std::optional<QString> warning;
    };
    const QStringList presets{"5 minutes", "15 minutes", "30 minutes", "1 hour"};
    const Case cases[] = {
        {0, std::nullopt, {1, 5, 15, 30, 60}, QStringList{"1 minutes"} + presets, 1, false, std::nullopt},
        {-3, P("excludeListed"), {1, 5, 15, 30, 60}, QStringList{"1 minutes"} + presets, 1, true,
         warningFor("1 minutes")},
        {7, P("exclude"), {5, 7, 15, 30, 60}, {"5 minutes", "7 minutes", "15 minutes", "30 minutes", "1 hour"}, 7,
         false, std::nullopt},
        {15, P("excludeListed"), {5, 15, 30, 60}, presets, 15, true, warningFor("15 minutes")},
        {120, P("onlyListed"), {5, 15, 30, 60, 120}, presets + QStringList{"2 hours"}, 120, false, std::nullopt},
    };
    store(SettingsKeys::autoQuitApps, P(QStringList{"org.z", "org.y", "org.z"}));
    store(SettingsKeys::autoQuitExcludedApps, P(QStringList{"org.keep"}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minutes);
        store(SettingsKeys::autoQuitMinutes, P(c.minutes));
        store(SettingsKeys::autoQuitListMode, c.listMode);
        const AutoQuitPaneState state = AutoQuitPaneState::read(settings());
        EXPECT_EQ(state.intervalChoices, c.choices);
        EXPECT_EQ(state.intervalTitles, c.titles);
        EXPECT_EQ(state.minutes, c.selected);
        EXPECT_EQ(state.modeIndex, c.excludeListed ? 0 : 1);
        EXPECT_EQ(state.appsTitle, c.excludeListed ? "Never auto-quit these" : "Apps");
        EXPECT_EQ(state.appsSubtitle, c.excludeListed ? "everything else is quit after it sits idle"
                                                      : "only these apps auto-quit; nothing else is touched");
        EXPECT_EQ(state.apps, c.excludeListed ? QStringList{"org.keep"} : (QStringList{"org.y", "org.z"}));
        EXPECT_EQ(state.warning, c.warning);

        // The widgets show the same, and showing it writes nothing.
        AutoQuitPane& view = pane();
        model->refresh();
        settle();
        EXPECT_EQ(view.intervalBox()->titles(), c.titles);
        EXPECT_EQ(view.intervalBox()->selectedTag(), c.selected);
        EXPECT_EQ(view.modeControl()->selectedIndex(), state.modeIndex);
        EXPECT_EQ(view.appsLabel()->title(), state.appsTitle);
        EXPECT_EQ(view.appChips()->bundleIDs(), state.apps);
        EXPECT_EQ(view.warning()->isHidden(), !c.warning);
        EXPECT_EQ(view.warning()->text(), c.warning.value_or(QString()));
        EXPECT_EQ(stored(SettingsKeys::autoQuitMinutes), P(c.minutes));
        EXPECT_EQ(stored(SettingsKeys::autoQuitListMode), c.listMode);
    }
}

TEST_F(AutoQuitPaneWidget, ModeSegmentsWriteTheirExactStringsAndTheSelectedOneWritesNothing)
{
    store(SettingsKeys::autoQuitListMode, platform::PlistValue("something"));
    AutoQuitPane& view = pane();
    SegmentedControl* mode = view.modeControl();
    ASSERT_EQ(mode->selectedIndex(), 1);
    EXPECT_EQ(mode->accessibleName(), "Mode");
    EXPECT_EQ(mode->buttons()[0]->accessibleName(), "Quit all except listed");
    countNotifications();
    mode->buttons()[1]->click();
    settle();
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(stored(SettingsKeys::autoQuitListMode), platform::PlistValue("something"));

    mode->buttons()[0]->click();
    settle();
    EXPECT_EQ(stored(SettingsKeys::autoQuitListMode), platform::PlistValue("excludeListed"));
    EXPECT_FALSE(view.warning()->isHidden());
    EXPECT_EQ(view.warning()->text(), warningFor("15 minutes"));
    pick("1 hour");
    EXPECT_EQ(stored(SettingsKeys::autoQuitMinutes), platform::PlistValue(qint64(60)));
    EXPECT_EQ(view.warning()->text(), warningFor("1 hour")) << "the warning names the minutes as they change";

    mode->buttons()[1]->click();
    settle();
    EXPECT_EQ(stored(SettingsKeys::autoQuitListMode), platform::PlistValue("onlyListed"));
    EXPECT_TRUE(view.warning()->isHidden());
    EXPECT_EQ(notifications, 3);
    pick("1 hour");
    EXPECT_EQ(notifications, 3) << "the stored minutes again notify nobody";
}

TEST_F(AutoQuitPaneWidget, ChipsFlipOneIdInTheCurrentModesListOnly)
{
    store(SettingsKeys::autoQuitApps, platform::PlistValue(QStringList{"org.z"}));
    store(SettingsKeys::autoQuitExcludedApps, platform::PlistValue(QStringList{"org.keep", "org.x"}));
    AutoQuitPane& view = pane();
    view.show();
    for (const auto& [mode, key, other] :
         {std::tuple{"onlyListed", SettingsKeys::autoQuitApps, SettingsKeys::autoQuitExcludedApps},
          std::tuple{"excludeListed", SettingsKeys::autoQuitExcludedApps, SettingsKeys::autoQuitApps}}) {
        SCOPED_TRACE(mode);
        store(SettingsKeys::autoQuitListMode, platform::PlistValue(mode));
        settle();
        const auto otherBefore = stored(other);
        QStringList ids = view.appChips()->bundleIDs();
        const QString first = ids.first();

        testing::addThroughPicker(fake, *view.appChips(), "org.new");
        settle();
        ids << "org.new";
        ids.sort();
        EXPECT_EQ(stored(key), platform::PlistValue(ids));
        EXPECT_EQ(view.appChips()->bundleIDs(), ids);

        testing::removeChip(*view.appChips(), first);
        settle();
        ids.removeOne(first);
        EXPECT_EQ(stored(key), platform::PlistValue(ids));
        EXPECT_EQ(view.appChips()->bundleIDs(), ids);
        EXPECT_EQ(stored(other), otherBefore);
    }
}

} // namespace
} // namespace quillon
