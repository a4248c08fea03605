#include "PaneFixture.h"

#include "InputEvents.h"
#include "permissions/ScreenRecordingPermission.h"
#include "settings/SettingsKeys.h"
#include "support/AppFiles.h"
#include "ui/SettingsPaneView.h"
#include "ui/panes/GeneralPane.h"
#include "ui/tour/GettingStartedPane.h"
#include "ui/tour/ShelfDragSample.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <limits>

namespace quillon {
namespace {

using Kind = Onboarding::Card::Kind;

TEST(GettingStartedState, EveryPositionShowsItsCardAndMovesWithinTheTour)
{
    using B = TourButton;
    const std::vector<B> onward{B::skip, B::next};
    const struct {
        qint64 index;
        Onboarding::Card card;
        QString title;
        QString counter;
        double progress;
        bool back;
        std::vector<B> buttons;
        int back1;
        int next1;
    } cases[] = {
        {-3, Onboarding::Card::welcome(), "Welcome", "1 of 14", 1.0 / 14, false, onward, 0, 1},
        {0, Onboarding::Card::welcome(), "Welcome", "1 of 14", 1.0 / 14, false, onward, 0, 1},
        {1, Onboarding::Card::step(SettingsPane::snap), "Snap", "2 of 14", 2.0 / 14, true, onward, 0, 2},
        {7, Onboarding::Card::step(SettingsPane::focus), "Focus", "8 of 14", 8.0 / 14, true, onward, 6, 8},
        {13, Onboarding::Card::step(SettingsPane::autoQuit), "Auto-Quit", "14 of 14", 1.0, true, onward, 12, 14},
        {14, Onboarding::Card::finale(), "All set", "Done", 1.0, true, {B::done}, 13, 14},
        {99, Onboarding::Card::finale(), "All set", "Done", 1.0, true, {B::done}, 13, 14},
        {std::numeric_limits<qint64>::max(), Onboarding::Card::finale(), "All set", "Done", 1.0, true, {B::done},
         13, 14},
        {std::numeric_limits<qint64>::min(), Onboarding::Card::welcome(), "Welcome", "1 of 14", 1.0 / 14, false,
         onward, 0, 1},
    };
    ASSERT_EQ(TourState::steps().size(), 13u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const TourState state = TourState::at(c.index);
        EXPECT_EQ(state.card, c.card);
        EXPECT_EQ(state.title, c.title);
        EXPECT_EQ(state.counter, c.counter);
        EXPECT_DOUBLE_EQ(state.progress, c.progress);
        EXPECT_EQ(state.backEnabled, c.back);
        EXPECT_EQ(state.buttons, c.buttons);
        EXPECT_EQ(TourState::stepped(c.index, -1), c.back1);
        EXPECT_EQ(TourState::stepped(c.index, 1), c.next1);
    }
}

TEST(GettingStartedState, DemoRowAsksForTheFeatureAndShowsTheNoteInItsOwnTone)
{
    const TourDemo opensWindow{{}, "The real picker", true};
    const TourDemo anyTime{{}, "A chip at the notch", false};
    const struct {
        const char* name;
        TourDemo demo;
        bool on;
        std::optional<QString> note;
        TourDemoRow row;
    } cases[] = {
        {"feature off", opensWindow, false, std::nullopt,
         {false, "Turn Clipboard on to try it — this one opens its own window.", false}},
        {"feature on", opensWindow, true, std::nullopt, {true, "The real picker", false}},
        {"after Show me", opensWindow, true, QString("The real picker"), {true, "The real picker", true}},
        {"needs nothing", anyTime, false, std::nullopt, {true, "A chip at the notch", false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TourState::demoRow(c.demo, "Clipboard", c.on, c.note), c.row);
    }
}

struct GettingStartedPaneTest : testing::PaneFixture<GettingStartedPane> {
    ~GettingStartedPaneTest() override { ScreenRecordingPermission::grantedAtLaunch = false; }
    void goTo(qint64 index)
    {
        settings().set(platform::PlistValue(index), SettingsKeys::onboardingIndex);
        settle();
    }
    qint64 stored() { return settings().defaults().integerForKey(SettingsKeys::onboardingIndex); }
    /// Demonstrations of the test's own; the clipboard, snippets and OCR
    /// ones open windows of their own, so they need their feature on.
    void useDemos()
    {
        pane().demoFor = [this](SettingsPane pane) -> std::optional<TourDemo> {
            if (pane == SettingsPane::shelf || pane == SettingsPane::focus)
                return std::nullopt;
            const bool opensWindow = pane == SettingsPane::clipboard || pane == SettingsPane::snippets ||
                                     pane == SettingsPane::ocr;
            return TourDemo{[this, pane](SettingsModel&) { ran.push_back(pane); }, "watch " + pane.title(),
                            opensWindow};
        };
    }
    std::vector<SettingsPane> ran;
};

TEST_F(GettingStartedPaneTest, SkippingOnTheWelcomeStoresTheFinaleAndEndsOnce)
{
    int finished = 0;
    model->onWalkthroughFinished = [&finished] { ++finished; };
    GettingStartedPane& view = pane();
    EXPECT_EQ(view.titleLabel()->text(), "Welcome");
    EXPECT_EQ(view.counterLabel()->text(), "1 of 14");
    EXPECT_FALSE(view.backButton()->isEnabled());
    view.skipButton()->click();
    EXPECT_EQ(stored(), 14);
    EXPECT_TRUE(settings().defaults().boolForKey(SettingsKeys::onboardingDismissed));
    EXPECT_EQ(finished, 1);
    settle();
    EXPECT_EQ(view.titleLabel()->text(), "All set");
    EXPECT_TRUE(view.skipButton()->isHidden());
    EXPECT_TRUE(view.nextButton()->isHidden());
    EXPECT_FALSE(view.doneButton()->isHidden());
}

TEST_F(GettingStartedPaneTest, StoredIndexOfAnyValueShowsAnEndAndTheNextStepClampsIt)
{
    const struct {
        const char* name;
        platform::PlistValue value;
        QString title;
        qint64 afterNext;
    } cases[] = {
        {"negative", qint64(-40), "Welcome", 1},
        {"huge", std::numeric_limits<qint64>::max(), "All set", 14},
        {"text", "three", "Welcome", 1},
        {"a list", QStringList{"4"}, "Welcome", 1},
        {"fractional", 3.7, "Clipboard", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings().set(c.value, SettingsKeys::onboardingIndex);
        settle();
        GettingStartedPane& view = pane();
        EXPECT_EQ(view.titleLabel()->text(), c.title);
        view.nextButton()->isHidden() ? view.backButton()->click() : view.nextButton()->click();
        if (c.title == "All set") {
            EXPECT_EQ(stored(), 13);
            continue;
        }
        EXPECT_EQ(stored(), c.afterNext);
    }
}

TEST_F(GettingStartedPaneTest, CardsAskForTheirFeatureAndShowTheNoteUntilTheNextStep)
{
    useDemos();
    for (const SettingsPane feature : {SettingsPane::clipboard, SettingsPane::snippets, SettingsPane::ocr}) {
        SCOPED_TRACE(feature.rawValue().toStdString());
        const auto& steps = TourState::steps();
        goTo(qint64(std::find(steps.begin(), steps.end(), feature) - steps.begin()) + 1);
        GettingStartedPane& view = pane();
        ASSERT_NE(view.showMeButton(), nullptr);
        EXPECT_FALSE(view.showMeButton()->isEnabled());
        EXPECT_EQ(view.demoText()->text(),
                  "Turn " + feature.title() + " on to try it — this one opens its own window.");
        // The card's own switch enables it at once.
        view.cardSwitch()->click();
        settle();
        EXPECT_TRUE(model->master(feature).get());
        EXPECT_TRUE(view.showMeButton()->isEnabled());
        EXPECT_EQ(view.demoText()->text(), "watch " + feature.title());
        EXPECT_EQ(view.demoText()->property("tone").toString(), "tertiary");

        view.showMeButton()->click();
        EXPECT_EQ(ran.back(), feature);
        EXPECT_EQ(view.demoNote(), "watch " + feature.title());
        EXPECT_EQ(view.demoText()->property("tone").toString(), "secondary");
        // A redraw keeps the note; a step clears it.
        model->refresh();
        settle();
        EXPECT_EQ(view.demoText()->property("tone").toString(), "secondary");
        view.nextButton()->click();
        settle();
        EXPECT_EQ(view.demoNote(), std::nullopt);
    }
    EXPECT_EQ(ran.size(), 3u);
}

TEST_F(GettingStartedPaneTest, UnreplacedCardsOfferTheOnboardingDemonstrations)
{
    const auto& steps = TourState::steps();
    int offered = 0;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const SettingsPane feature = steps[i];
        SCOPED_TRACE(feature.rawValue().toStdString());
        model->master(feature).set(true);
        goTo(qint64(i) + 1);
        GettingStartedPane& view = pane();
        const auto demo = OnboardingDemo::demo(feature);
        ASSERT_EQ(view.showMeButton() != nullptr, demo.has_value());
        if (!demo)
            continue;
        ++offered;
        EXPECT_TRUE(view.showMeButton()->isEnabled());
        EXPECT_EQ(view.demoText()->text(), demo->watchFor);
    }
    EXPECT_GT(offered, 0);
}

TEST_F(GettingStartedPaneTest, PermissionBlocksNameTheirGrantAndGoOnceGranted)
{
    setTrusted(false);
    fake.permissionsImpl.screenCapture = false;
    fake.permissionsImpl.consent = platform::AutomationConsent::denied;
    const auto indexOf = [](SettingsPane pane) {
        const auto& steps = TourState::steps();
        return qint64(std::find(steps.begin(), steps.end(), pane) - steps.begin()) + 1;
    };
    const struct {
        SettingsPane pane;
        std::optional<QString> title;
    } cases[] = {
        {SettingsPane::shelf, QString("Automation (File Manager) needed")},
        {SettingsPane::ocr, QString("Screen Recording needed")},
        {SettingsPane::snap, QString("Accessibility needed")},
        {SettingsPane::breaks, QString("Accessibility needed")},
        {SettingsPane::colorPicker, std::nullopt},
        {SettingsPane::autoQuit, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pane.rawValue().toStdString());
        goTo(indexOf(c.pane));
        GettingStartedPane& view = pane();
        if (!c.title) {
            EXPECT_EQ(view.permissionBlock(), nullptr);
            continue;
        }
        ASSERT_NE(view.permissionBlock(), nullptr);
        EXPECT_TRUE(view.permissionBlock()->isVisibleTo(&view));
        EXPECT_EQ(view.permissionTitle()->text(), *c.title);
    }

    // Granted: gone at the next redraw, on every card.
    setTrusted(true);
    fake.permissionsImpl.screenCapture = true;
    fake.permissionsImpl.consent = platform::AutomationConsent::notApplicable;
    for (const SettingsPane pane : {SettingsPane::shelf, SettingsPane::ocr, SettingsPane::snap}) {
        goTo(indexOf(pane));
        model->refresh();
        settle();
        EXPECT_FALSE(this->pane().permissionBlock()->isVisibleTo(&this->pane())) << pane.rawValue().toStdString();
    }
}

TEST_F(GettingStartedPaneTest, ShelfCardOffersTheSampleAndShowsTheNoteOnceDragged)
{
    const QString sample = fake.pathsImpl.tempDir() + "/sample.png";
    {
        QFile file(sample);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("png");
    }
    pane().sampleImage = [sample] { return std::optional<QString>(sample); };
    const auto& steps = TourState::steps();
    goTo(qint64(std::find(steps.begin(), steps.end(), SettingsPane::shelf) - steps.begin()) + 1);
    GettingStartedPane& view = pane();
    EXPECT_EQ(view.showMeButton(), nullptr) << "no Show me on the shelf card";
    ShelfDragSample* tile = view.shelfSample();
    ASSERT_NE(tile, nullptr);
    EXPECT_FALSE(tile->isDraggable()) << "dimmed until it comes on screen";
    view.show();
    EXPECT_TRUE(tile->isDraggable());
    EXPECT_TRUE(tile->noteLabel()->isHidden());

    std::optional<QList<QUrl>> ownDuringDrag;
    QList<QUrl> carried;
    tile->execDrag = [&](QDrag& drag) {
        ownDuringDrag = fake.dragProbeImpl.own;
        carried = drag.mimeData()->urls();
    };
    tile->startDrag();
    EXPECT_EQ(carried, QList<QUrl>{QUrl::fromLocalFile(sample)});
    EXPECT_EQ(ownDuringDrag, QList<QUrl>{QUrl::fromLocalFile(sample)});
    EXPECT_FALSE(fake.dragProbeImpl.own.has_value()) << "the probe hears the end";
    EXPECT_EQ(view.demoNote(), "Dropped it? Open the shelf from the notch to see it.");
    EXPECT_FALSE(tile->noteLabel()->isHidden());
    EXPECT_EQ(tile->noteLabel()->text(), "Dropped it? Open the shelf from the notch to see it.");
    view.hide();
}

TEST_F(GettingStartedPaneTest, AnUnwritableSampleLeavesTheTileDimmed)
{
    // A regular file where the folder should be.
    QDir().mkpath(AppFiles::root());
    {
        QFile blocker(AppFiles::root() + "/Onboarding");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const auto& steps = TourState::steps();
    goTo(qint64(std::find(steps.begin(), steps.end(), SettingsPane::shelf) - steps.begin()) + 1);
    GettingStartedPane& view = pane();
    view.show();
    EXPECT_FALSE(view.shelfSample()->isDraggable());
    int drags = 0;
    view.shelfSample()->execDrag = [&drags](QDrag&) { ++drags; };
    view.shelfSample()->startDrag();
    EXPECT_EQ(drags, 0);
    EXPECT_EQ(view.demoNote(), std::nullopt);
    view.hide();
}

/// The tour in the settings window, as the General pane opens it.
struct GettingStartedWindow : ::testing::Test, testing::UiFixture {
    SettingsWindowController& controller() { return app->settingsWindow(); }
    qint64 stored() { return settings().defaults().integerForKey(SettingsKeys::onboardingIndex); }
    GettingStartedPane* tour()
    {
        return controller().paneView() ? dynamic_cast<GettingStartedPane*>(&controller().paneView()->paneView())
                                       : nullptr;
    }
    void pressReturn()
    {
        // A pane put into a shown window shows on the next turn of the loop.
        QApplication::processEvents();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : controller().window();
        testing::keyClick(target, Qt::Key_Return);
        fake.queue.drain();
    }
    bool activate()
    {
        controller().window()->activateWindow();
        for (int i = 0; i < 100 && !controller().window()->isActiveWindow(); ++i)
            QApplication::processEvents();
        return controller().window()->isActiveWindow();
    }
};

TEST_F(GettingStartedWindow, TakeTheTourOpensTheWelcomeAndReturnWalksToDone)
{
    settings().set(platform::PlistValue(qint64(9)), SettingsKeys::onboardingIndex);
    controller().show();
    ASSERT_TRUE(activate());
    auto* general = dynamic_cast<GeneralPane*>(&controller().paneView()->paneView());
    ASSERT_NE(general, nullptr);
    ASSERT_EQ(general->tourButton()->text(), "Take the Tour");
    general->tourButton()->click();
    fake.queue.drain();
    QApplication::processEvents();
    ASSERT_EQ(controller().selectedPane(), SettingsPane::gettingStarted);
    ASSERT_NE(tour(), nullptr);
    EXPECT_EQ(stored(), 0);
    EXPECT_EQ(tour()->titleLabel()->text(), "Welcome");

    pressReturn();
    EXPECT_EQ(stored(), 1);
    pressReturn();
    EXPECT_EQ(stored(), 2);
    EXPECT_EQ(tour()->titleLabel()->text(), "Jump");

    // The sidebar's search field keeps its Return.
    auto* search = controller().window()->findChild<QLineEdit*>("search");
    search->setFocus();
    QApplication::processEvents();
    testing::keyClick(search, Qt::Key_Return);
    fake.queue.drain();
    EXPECT_EQ(stored(), 2);
    search->clearFocus();

    settings().set(platform::PlistValue(qint64(13)), SettingsKeys::onboardingIndex);
    fake.queue.drain();
    pressReturn();
    EXPECT_EQ(stored(), 14);
    EXPECT_EQ(tour()->titleLabel()->text(), "All set");
    pressReturn();
    EXPECT_EQ(controller().selectedPane(), SettingsPane::general);
    EXPECT_FALSE(settings().defaults().boolForKey(SettingsKeys::onboardingDismissed));
    controller().window()->hide();
}

} // namespace
} // namespace quillon
