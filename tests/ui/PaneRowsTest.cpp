#include "UiFixture.h"

#include "features/focus/FocusFeature.h"
#include "features/jump/JumpFeature.h"
#include "settings/SettingsKeys.h"
#include "support/DS.h"
#include "ui/controls/FocusDimRow.h"
#include "ui/controls/JumpBindingRow.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/SnapNowRow.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include "InputEvents.h"
#include <QTimer>

namespace quillon {
namespace {

struct PaneRows : ::testing::Test, testing::UiFixture {
    PaneRows()
    {
        observer = settings().addObserver([this] { ++writes; });
    }
    ~PaneRows() override { settings().removeObserver(observer); }

    /// Answers the next modal prompt with `text`, or cancels it when none.
    void answerPrompt(std::optional<QString> text)
    {
        QTimer::singleShot(0, [text] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            if (!text) {
                dialog->reject();
                return;
            }
            dialog->findChild<QLineEdit*>("letter")->setText(*text);
            dialog->accept();
        });
    }

    QUuid observer;
    int writes = 0;
};

TEST_F(PaneRows, SnapRowRunsItsActionOnlyWhenEnabled)
{
    const SnapShortcut shortcut = SnapShortcut::groups().front().second.front();
    for (const bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        int runs = 0;
        SnapNowRow row(shortcut, enabled, [&] { ++runs; });
        row.resize(row.sizeHint().expandedTo(QSize(360, 30)));
        row.show();
        testing::click(&row, row.rect().center());
        EXPECT_EQ(runs, enabled ? 1 : 0);
        EXPECT_EQ(row.titleLabel()->text(), shortcut.title);
        const bool dimmed = row.titleLabel()->palette().color(QPalette::WindowText) == DS::menuTextTertiary();
        EXPECT_EQ(dimmed, !enabled);
        EXPECT_EQ(RowButton::washOpacity(false, true, row.isEnabled()) > 0, enabled) << "no wash when disabled";
        const auto chips = row.findChildren<KeyChip*>();
        ASSERT_EQ(chips.size(), 1);
        EXPECT_EQ(chips[0]->accessibleName(), KeyChip(shortcut.display()).accessibleName());
        EXPECT_TRUE(row.hasIcon());
    }
}

TEST_F(PaneRows, PinningALetterTakesItFromItsHolderAndWritesOnce)
{
    settings().setJumpForced(QMap<QString, QString>{{"k", "org.b.B"}, {"x", "org.a.A"}, {"m", "org.c.C"}});
    JumpBindingRow row(*model, "org.a.A", "Alpha", std::nullopt);
    EXPECT_EQ(row.toolTip(), "Click to pin a permanent letter for Alpha — a pinned letter also launches the "
                             "app when it's closed");
    EXPECT_EQ(row.badge(), QStringList{"X"});
    writes = 0;
    answerPrompt("K");
    row.click();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(settings().jumpForced(), (QMap<QString, QString>{{"k", "org.a.A"}, {"m", "org.c.C"}}));
    row.reload();
    EXPECT_EQ(row.badge(), QStringList{"K"});
}

TEST_F(PaneRows, CancelChangesNothingAndABlankAnswerUnpins)
{
    struct Case {
        const char* name;
        std::optional<QString> answer;
        int writes;
        QMap<QString, QString> after;
    };
    const QMap<QString, QString> before{{"a", "org.a.A"}, {"b", "org.b.B"}};
    const Case cases[] = {
        {"cancel", std::nullopt, 0, before},
        {"blank", QString(), 1, {{"b", "org.b.B"}}},
        {"not a letter", "7", 1, {{"b", "org.b.B"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings().setJumpForced(before);
        JumpBindingRow row(*model, "org.a.A", "Alpha", std::nullopt);
        writes = 0;
        answerPrompt(c.answer);
        row.click();
        EXPECT_EQ(writes, c.writes);
        EXPECT_EQ(settings().jumpForced(), c.after);
    }
}

TEST_F(PaneRows, BadgeShowsAutomaticAndMissingLetters)
{
    platform::RunningApp zed;
    zed.pid = 9;
    zed.appId = "org.z.Zed";
    zed.name = "Zed";
    zed.regular = true;
    fake.workspaceImpl.apps = {zed};
    features().jump.rebuildAutoBindings();
    ASSERT_TRUE(features().jump.binding("org.z.Zed"));
    EXPECT_EQ(JumpBindingRow(*model, "org.z.Zed", "Zed", std::nullopt).badge(), (QStringList{"Z", "auto"}));
    EXPECT_EQ(JumpBindingRow(*model, "org.none.None", "None", std::nullopt).badge(), QStringList{"set"});
    // A stored map of the wrong shape (an import) reads as no pins.
    settings().set(QStringLiteral("not a map"), SettingsKeys::jumpForced);
    EXPECT_EQ(JumpBindingRow(*model, "org.none.None", "None", std::nullopt).badge(), QStringList{"set"});
}

TEST_F(PaneRows, DimPercentIsTruncated)
{
    const std::pair<double, QString> rows[] = {
        {0.29, "28%"}, {0.5, "50%"}, {0.1, "10%"}, {0.8, "80%"}, {0.999, "99%"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(FocusDimRow::percentText(value), text) << value;
}

TEST_F(PaneRows, DimDragPreviewsLiveAndStoresOnceAtRelease)
{
    settings().set(0.3, SettingsKeys::focusAlpha);
    FocusDimRow row(*model);
    QSlider* slider = row.slider();
    EXPECT_EQ(slider->value(), 300);
    EXPECT_EQ(row.percentLabel()->text(), "30%");
    writes = 0;

    slider->setSliderDown(true);
    for (const int position : {350, 420, 510, 600}) {
        slider->setSliderPosition(position);
        EXPECT_DOUBLE_EQ(features().focus.alpha(), position / 1000.0) << "the overlay follows the thumb";
        row.reload(); // a redraw mid-drag keeps the dragged value
        EXPECT_EQ(slider->value(), position);
    }
    EXPECT_EQ(row.percentLabel()->text(), "60%");
    EXPECT_EQ(writes, 0) << "nothing stored while dragging";
    slider->setSliderDown(false);
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(settings().defaults().doubleForKey(SettingsKeys::focusAlpha), 0.6);
    EXPECT_FALSE(row.dragValue());
}

TEST_F(PaneRows, DimKeyStepStoresAtOnce)
{
    settings().set(0.3, SettingsKeys::focusAlpha);
    FocusDimRow row(*model);
    writes = 0;
    testing::keyClick(row.slider(), Qt::Key_Right);
    EXPECT_EQ(writes, 1);
    EXPECT_DOUBLE_EQ(settings().defaults().doubleForKey(SettingsKeys::focusAlpha), 0.31);
    EXPECT_EQ(row.percentLabel()->text(), "31%");
}

TEST_F(PaneRows, DimValueOutsideTheRangeIsShownAndKept)
{
    settings().set(0.95, SettingsKeys::focusAlpha);
    writes = 0;
    FocusDimRow row(*model);
    row.reload();
    EXPECT_EQ(row.slider()->value(), row.slider()->maximum());
    EXPECT_EQ(row.percentLabel()->text(), "95%");
    EXPECT_EQ(writes, 0);
    EXPECT_DOUBLE_EQ(settings().defaults().doubleForKey(SettingsKeys::focusAlpha), 0.95);
}

} // namespace
} // namespace quillon
