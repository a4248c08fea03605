#include "AppListPaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/SegmentedControl.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/SweepPane.h"

#include <QPushButton>

namespace quillon {
namespace {

const QString efficientText = "Wakes only when an app's own windows open and close — never on menus, tooltips or "
                              "pop-ups. Lightest; recommended.";
const QString thoroughText = "Wakes on every window an app closes, its menus and pop-ups included, so nothing is "
                             "missed — but busy apps wake it often. Heavier.";
const QString excludedFooter = "Apps here are never quit by Sweep, whether they're running now or not.";

struct SweepPaneFixture : testing::AppListPaneFixture<SweepPane> {
    void setWorkspaces(bool resolved) { fake.spacesImpl.set(resolved, 1, 4); }
};

using SweepPaneStateTable = SweepPaneFixture;
using SweepPaneWidget = SweepPaneFixture;

TEST_F(SweepPaneStateTable, StoredValuesReadAsThePaneShowsThem)
{
    using P = platform::PlistValue;
    struct Case {
        const char* name;
        std::optional<P> listMode;
        std::optional<P> strategy;
        double delay;
        bool resolved;
        // Expected.
        int mode;
        int strategyIndex;
        std::optional<int> delayIndex;
        QStringList apps;
    };
    const QStringList spared{"org.a", "org.b"};
    const QStringList quit{"org.q"};
    const Case cases[] = {
        {"missing mode and strategy", std::nullopt, std::nullopt, 2, true, 0, 0, 2, spared},
        {"odd strategy, delay 3", P("onlyListed"), P("Thorough"), 3, true, 1, 0, std::nullopt, quit},
        {"odd mode, thorough, unresolved", P("ONLYLISTED"), P("thorough"), 0.5, false, 0, 1, 0, spared},
        {"only listed, efficient", P("onlyListed"), P("efficient"), 5, false, 1, 0, 3, quit},
    };
    store(SettingsKeys::sweepListedApps, P(QStringList{"org.b", "org.a", "org.b"}));
    store(SettingsKeys::sweepOnlyListedApps, P(quit));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store(SettingsKeys::sweepListMode, c.listMode);
        store(SettingsKeys::sweepStrategy, c.strategy);
        store(SettingsKeys::sweepDelay, P(c.delay));
        const SweepPaneState state = SweepPaneState::read(settings(), c.resolved);

        const bool onlyListed = c.mode == 1;
        const QString header = onlyListed ? "Apps to quit" : "Excluded apps (never quit)";
        EXPECT_EQ(state.sections, (QStringList{"Behavior", "Detection", header}));
        EXPECT_EQ(state.showsDetectionWarning, !c.resolved);
        EXPECT_EQ(state.delayTitles, (QStringList{"0.5 seconds", "1 second", "2 seconds", "5 seconds"}));
        EXPECT_EQ(state.delayIndex, c.delayIndex);
        EXPECT_EQ(state.modeIndex, c.mode);
        EXPECT_EQ(state.strategyIndex, c.strategyIndex);
        EXPECT_EQ(state.strategySubtitle, c.strategyIndex == 1 ? thoroughText : efficientText);
        EXPECT_EQ(state.listHeader, header);
        EXPECT_EQ(state.listFooter, onlyListed ? QString() : excludedFooter);
        EXPECT_EQ(state.showsListWarning, !onlyListed);
        EXPECT_EQ(state.apps, c.apps);

        // Reading never rewrites what it could not read.
        EXPECT_EQ(stored(SettingsKeys::sweepListMode), c.listMode);
        EXPECT_EQ(stored(SettingsKeys::sweepStrategy), c.strategy);
    }
}

TEST_F(SweepPaneWidget, DrawsTheStateInPlace)
{
    setWorkspaces(false);
    store(SettingsKeys::sweepListMode, platform::PlistValue("excludeListed"));
    store(SettingsKeys::sweepListedApps, platform::PlistValue(QStringList{"org.b", "org.a"}));
    SweepPane& view = pane();
    EXPECT_EQ(shownSections(), (QStringList{"Behavior", "Detection", "Excluded apps (never quit)"}));
    EXPECT_FALSE(view.detectionWarning()->isHidden());
    EXPECT_FALSE(view.listWarning()->isHidden());
    EXPECT_EQ(view.listSection()->footerLabel()->text(), excludedFooter);
    EXPECT_EQ(view.appChips()->bundleIDs(), (QStringList{"org.a", "org.b"}));
    EXPECT_EQ(view.strategyLabel()->subLabel()->text(), efficientText);
    EXPECT_EQ(view.delayBox()->accessibleName(), "Quit delay");
    EXPECT_EQ(view.modeControl()->accessibleName(), "Mode");
    EXPECT_EQ(view.strategyControl()->accessibleName(), "Detection");
    EXPECT_NE(findToggle("Keep self-backgrounding apps"), nullptr);
    EXPECT_NE(findToggle("Show quit chips in the notch"), nullptr);

    // Resolved workspaces and the other mode, drawn by the same widgets.
    setWorkspaces(true);
    store(SettingsKeys::sweepListMode, platform::PlistValue("onlyListed"));
    settle();
    EXPECT_EQ(shownSections(), (QStringList{"Behavior", "Detection", "Apps to quit"}));
    EXPECT_TRUE(view.detectionWarning()->isHidden());
    EXPECT_TRUE(view.listWarning()->isHidden());
    EXPECT_TRUE(view.listSection()->footerLabel()->isHidden());
    EXPECT_TRUE(view.appChips()->bundleIDs().isEmpty());
}

TEST_F(SweepPaneWidget, SegmentsWriteTheirExactStringsAndTheSelectedOneWritesNothing)
{
    struct Case {
        const char* key;
        SegmentedControl* (SweepPane::*control)() const;
        const char* odd;
        QStringList written;
    };
    const Case cases[] = {
        {"sweep.listMode", &SweepPane::modeControl, "onlylisted", {"excludeListed", "onlyListed"}},
        {"sweep.strategy", &SweepPane::strategyControl, "lazy", {"efficient", "thorough"}},
    };
    countNotifications();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        store(c.key, platform::PlistValue(c.odd));
        SegmentedControl* control = (pane().*c.control)();
        settle();
        ASSERT_EQ(control->selectedIndex(), 0) << "an unknown value reads as the first segment";
        const int base = notifications;
        control->buttons()[0]->click();
        settle();
        EXPECT_EQ(notifications, base);
        EXPECT_EQ(stored(c.key), platform::PlistValue(c.odd)) << "kept until the person chooses";
        for (const int index : {1, 0, 1}) {
            control->buttons()[index]->click();
            settle();
            EXPECT_EQ(stored(c.key), platform::PlistValue(c.written[index]));
            EXPECT_EQ(control->selectedIndex(), index);
        }
        EXPECT_EQ(notifications, base + 3);
        control->buttons()[1]->click();
        settle();
        EXPECT_EQ(notifications, base + 3) << "choosing the selected segment notifies nobody";
    }
}

TEST_F(SweepPaneWidget, AnOutOfListDelaySelectsNothingAndIsKept)
{
    store(SettingsKeys::sweepDelay, platform::PlistValue(3.0));
    SweepPane& view = pane();
    countNotifications();
    model->refresh();
    settle();
    EXPECT_EQ(view.delayBox()->selectedTag(), std::nullopt);
    EXPECT_EQ(view.delayBox()->currentIndex(), -1);
    EXPECT_EQ(stored(SettingsKeys::sweepDelay), platform::PlistValue(3.0));
    EXPECT_EQ(notifications, 0);

    const int index = view.delayBox()->findText("0.5 seconds");
    view.delayBox()->setCurrentIndex(index);
    emit view.delayBox()->activated(index);
    settle();
    EXPECT_EQ(stored(SettingsKeys::sweepDelay), platform::PlistValue(0.5));
    EXPECT_EQ(view.delayBox()->currentText(), "0.5 seconds");
    emit view.delayBox()->activated(index);
    settle();
    EXPECT_EQ(notifications, 1) << "the stored choice again notifies nobody";
}

TEST_F(SweepPaneWidget, ChipsFlipOneIdInTheCurrentModesListOnly)
{
    store(SettingsKeys::sweepListedApps, platform::PlistValue(QStringList{"org.a", "org.b"}));
    store(SettingsKeys::sweepOnlyListedApps, platform::PlistValue(QStringList{"org.q"}));
    SweepPane& view = pane();
    view.show();
    for (const auto& [mode, key, other] :
         {std::tuple{"excludeListed", SettingsKeys::sweepListedApps, SettingsKeys::sweepOnlyListedApps},
          std::tuple{"onlyListed", SettingsKeys::sweepOnlyListedApps, SettingsKeys::sweepListedApps}}) {
        SCOPED_TRACE(mode);
        store(SettingsKeys::sweepListMode, platform::PlistValue(mode));
        settle();
        const auto otherBefore = stored(other);
        const QStringList before = view.appChips()->bundleIDs();

        testing::addThroughPicker(fake, *view.appChips(), "org.new");
        settle();
        QStringList added = before + QStringList{"org.new"};
        added.sort();
        EXPECT_EQ(stored(key), platform::PlistValue(added));
        EXPECT_EQ(view.appChips()->bundleIDs(), added);

        testing::removeChip(*view.appChips(), before.first());
        settle();
        added.removeOne(before.first());
        EXPECT_EQ(stored(key), platform::PlistValue(added));
        EXPECT_EQ(stored(other), otherBefore);
    }
}

} // namespace
} // namespace quillon
