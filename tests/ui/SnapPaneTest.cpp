#include "PaneFixture.h"

#include "settings/SettingsKeys.h"
#include "ui/controls/SnapNowRow.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/SnapPane.h"

namespace quillon {
namespace {

const QStringList oneScreenHeaders{"Halves — click a row to snap now", "Quarters", "Thirds", "Two thirds",
                                   "Whole window"};
const QStringList twoScreenHeaders = oneScreenHeaders + QStringList{"Other displays"};

struct SnapPaneTest : testing::PaneFixture<SnapPane> {
    void setScreenCount(int count)
    {
        std::vector<platform::Screen> screens;
        for (int i = 0; i < count; ++i)
            screens.push_back(fakes::makeScreen(QRectF(1440 * i, 0, 1440, 900), 25.0,
                                                QStringLiteral("screen%1").arg(i)));
        fake.displaysImpl.setScreens(screens);
    }
    QStringList groupHeaders()
    {
        QStringList headers;
        for (FormSection* section : pane().groupSections()) {
            if (section->hasContent())
                headers << section->headerLabel()->text();
        }
        return headers;
    }
    SnapNowRow* row(const QString& title)
    {
        for (SnapNowRow* each : pane().findChildren<SnapNowRow*>()) {
            if (each->accessibleName() == title)
                return each;
        }
        ADD_FAILURE() << "no row " << title.toStdString();
        return nullptr;
    }
};

TEST_F(SnapPaneTest, StateFollowsScreensDragSnappingTilingAndDelay)
{
    struct Case {
        int screens;
        bool onDrag;
        bool tiling;
        double delay;
        QStringList headers;
        bool warning;
        int tilingCalls;
        std::optional<int> delayShown;
    };
    const Case cases[] = {
        {0, false, true, 0.2, oneScreenHeaders, false, 0, 200},
        {1, true, true, 0.35, oneScreenHeaders, true, 1, 350},
        {1, true, false, 1.0, oneScreenHeaders, false, 1, 1000},
        {2, false, true, 0.25, twoScreenHeaders, false, 0, std::nullopt},
        {2, true, true, 0.0, twoScreenHeaders, true, 1, 0},
        {3, false, false, -1.0, twoScreenHeaders, false, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screens);
        SCOPED_TRACE(c.delay);
        settings().setSnapOnDrag(c.onDrag);
        settings().setNotchHintDelay(c.delay);
        int calls = 0;
        const SnapPaneState state = SnapPane::state(settings(), c.screens, [&] {
            ++calls;
            return c.tiling;
        });
        QStringList headers;
        for (const SnapGroupShown& group : state.groups)
            headers << group.header;
        EXPECT_EQ(headers, c.headers);
        EXPECT_EQ(state.showsTilingWarning, c.warning);
        EXPECT_EQ(calls, c.tilingCalls);
        EXPECT_EQ(state.selectedDelayMs, c.delayShown);
        EXPECT_EQ(settings().notchHintDelay(), c.delay) << "reading never rewrites the delay";
    }
}

TEST_F(SnapPaneTest, ADisplayAddedOrRemovedShowsOrHidesItsGroupAtTheNextRedraw)
{
    setTrusted(true);
    setScreenCount(1);
    SnapPane& view = pane();
    EXPECT_EQ(groupHeaders(), oneScreenHeaders);
    EXPECT_EQ(shownSections(), QStringList{"Snapping"} + oneScreenHeaders) << "no gate once trusted";

    setScreenCount(2);
    model->refresh();
    settle();
    EXPECT_EQ(groupHeaders(), twoScreenHeaders);
    EXPECT_EQ(view.groupSections().back()->findChildren<SnapNowRow*>().size(), 2);

    setScreenCount(1);
    model->refresh();
    settle();
    EXPECT_EQ(groupHeaders(), oneScreenHeaders);

    setTrusted(false);
    model->refresh();
    settle();
    EXPECT_EQ(shownSections().value(0), "Needed to work");
}

TEST_F(SnapPaneTest, TheTilingCheckWaitsForDragSnapping)
{
    settings().setSnapOnDrag(false);
    int calls = 0;
    bool tiling = true;
    SnapPane& view = pane();
    view.edgeTilingEnabled = [&] {
        ++calls;
        return tiling;
    };
    for (int i = 0; i < 3; ++i) {
        model->refresh();
        settle();
    }
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(view.tilingWarning()->isHidden());

    toggle("Snap on drag to edge")->click();
    settle();
    EXPECT_TRUE(settings().snapOnDrag());
    EXPECT_GT(calls, 0);
    EXPECT_FALSE(view.tilingWarning()->isHidden());

    tiling = false;
    model->refresh();
    settle();
    EXPECT_TRUE(view.tilingWarning()->isHidden());
}

TEST_F(SnapPaneTest, TheWindowManagersAnswerIsTheDefaultCheck)
{
    settings().setSnapOnDrag(true);
    fake.windowManagerPrefsImpl.edgeTiling = true;
    EXPECT_FALSE(pane().tilingWarning()->isHidden());
    fake.windowManagerPrefsImpl.edgeTiling = std::nullopt;
    model->refresh();
    settle();
    EXPECT_TRUE(pane().tilingWarning()->isHidden()) << "an unknown window manager reads as off";
}

TEST_F(SnapPaneTest, HoldDelayKeepsAnUnlistedValueAndStoresAChoice)
{
    settings().setNotchHintDelay(0.25);
    SnapPane& view = pane();
    ChoiceBox* box = view.holdDelayBox();
    EXPECT_EQ(box->titles(), (QStringList{"Instant", "100 ms", "200 ms", "350 ms", "600 ms", "1 second"}));
    EXPECT_EQ(box->selectedTag(), std::nullopt);
    EXPECT_EQ(settings().notchHintDelay(), 0.25);

    const int index = box->findText("350 ms");
    box->setCurrentIndex(index);
    emit box->activated(index);
    settle();
    EXPECT_EQ(settings().notchHintDelay(), 0.35);
    EXPECT_EQ(box->selectedTag(), 350);
}

TEST_F(SnapPaneTest, ARowSnapsTheWindowOfTheAppThePersonCameFrom)
{
    SnapPane& view = pane();
    std::vector<std::pair<SnapPosition, std::optional<int32_t>>> snapped;
    view.snapNow = [&](SnapPosition position, std::optional<int32_t> pid) { snapped.emplace_back(position, pid); };

    model->targetPID = [] { return std::optional<int32_t>(); };
    row("Left")->click();
    model->targetPID = [] { return std::optional<int32_t>(4242); };
    row("Bottom Right")->click();
    row("Restore")->click();
    const std::vector<std::pair<SnapPosition, std::optional<int32_t>>> expected{
        {SnapPosition::leftHalf, std::nullopt},
        {SnapPosition::bottomRight, 4242},
        {SnapPosition::restore, 4242},
    };
    EXPECT_EQ(snapped, expected);
    for (SnapNowRow* each : view.findChildren<SnapNowRow*>())
        EXPECT_TRUE(each->isEnabled()) << each->accessibleName().toStdString();
}

TEST_F(SnapPaneTest, TextsReadLinuxKeys)
{
    SnapPane& view = pane();
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>())
        texts << label->text();
    const QString all = texts.join('\n');
    EXPECT_TRUE(all.contains("Super+Alt plus an arrow or a letter")) << all.toStdString();
    EXPECT_TRUE(all.contains("global Super+Alt window shortcuts")) << all.toStdString();
    EXPECT_TRUE(all.contains("hold Super+Alt, move toward a direction")) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("⌃"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("⌥"))) << all.toStdString();
}

} // namespace
} // namespace quillon
