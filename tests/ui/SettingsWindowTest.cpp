#include "UiFixture.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QLineEdit>
#include <map>

namespace quillon {
namespace {

using testing::UiFixture;

struct SettingsWindowFixture : UiFixture {
    SettingsWindowController& controller() { return app->settingsWindow(); }
    QWidget* row(SettingsPane pane)
    {
        return controller().window()->findChild<QWidget*>(QStringLiteral("row-") + pane.rawValue());
    }
    /// The y of every row the sidebar shows, by raw name.
    std::map<QString, int> shown()
    {
        std::map<QString, int> ys;
        for (const SettingsPane pane : SettingsPane::allCases())
            if (!row(pane)->isHidden())
                ys[pane.rawValue()] = row(pane)->y();
        return ys;
    }
    void search(const QString& text) { controller().window()->findChild<QLineEdit*>()->setText(text); }
};

TEST(SettingsWindow, OpensFixedOnGeneralWithRowsPlacedAndSearchFiltering)
{
    SettingsWindowFixture f;
    f.controller().show();
    QWidget& window = *f.controller().window();
    EXPECT_EQ(window.size(), QSize(868, 648));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("General"));
    EXPECT_EQ(window.findChild<QLineEdit*>()->geometry(), QRect(10, 10, 194, 26));
    EXPECT_EQ(window.findChild<QLineEdit*>()->focusPolicy(), Qt::ClickFocus);

    // General at 46, then the caption band of 30, then the feature rows 30 apart.
    std::map<QString, int> all{{"general", 46}, {"about", 604}};
    int y = 46 + 30 + 30;
    for (const SettingsPane pane : SettingsPane::features()) {
        all[pane.rawValue()] = y;
        y += 30;
    }
    const struct {
        QString query;
        std::map<QString, int> expected;
    } cases[] = {
        {"", all},
        // OCR copies its text to the clipboard: its blurb matches too.
        {"clip", {{"general", 46}, {"clipboard", 106}, {"ocr", 136}, {"about", 604}}},
        {"zzz", {{"general", 46}, {"about", 604}}},
        {"   ", all},
        {"(.*", {{"general", 46}, {"about", 604}}},
        {"", all},
    };
    for (const auto& c : cases) {
        f.search(c.query);
        EXPECT_EQ(f.shown(), c.expected) << c.query.toStdString();
    }
    f.search("ctrl");
    EXPECT_TRUE(f.row(SettingsPane::jump)->isVisible()) << "key glyphs are searched by their names";
    window.hide();
}

TEST(SettingsWindow, LayoutPassLeavesGettingStartedForGeneral)
{
    SettingsWindowFixture f;
    f.controller().show();
    f.controller().select(SettingsPane::gettingStarted);
    EXPECT_EQ(f.controller().selectedPane(), SettingsPane::gettingStarted);
    f.search("snap");
    EXPECT_EQ(f.controller().selectedPane(), SettingsPane::general);
    EXPECT_EQ(f.controller().window()->windowTitle(), QStringLiteral("General"));
    f.controller().window()->hide();
}

TEST(SettingsWindow, RowStatesFollowChangesMadeElsewhereAndCloseKeepsSelection)
{
    SettingsWindowFixture f;
    f.controller().show();
    EXPECT_EQ(f.row(SettingsPane::notch)->accessibleName(), QStringLiteral("Notch, on"));
    EXPECT_EQ(f.row(SettingsPane::snap)->accessibleName(), QStringLiteral("Snap"));
    f.model->master(SettingsPane::snap).set(true);
    f.fake.queue.drain();
    EXPECT_EQ(f.row(SettingsPane::snap)->accessibleName(), QStringLiteral("Snap, on"));
    // Assistive technology reads a row as a button with that name.
    QAccessibleInterface* snap = QAccessible::queryAccessibleInterface(f.row(SettingsPane::snap));
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->role(), QAccessible::Button);
    EXPECT_EQ(snap->text(QAccessible::Name), QStringLiteral("Snap, on"));

    f.controller().select(SettingsPane::clipboard);
    f.controller().window()->hide();
    EXPECT_FALSE(f.controller().model().isObserving());
    f.controller().show();
    EXPECT_TRUE(f.controller().model().isObserving());
    EXPECT_EQ(f.controller().selectedPane(), SettingsPane::clipboard);
    EXPECT_EQ(f.controller().window()->windowTitle(), QStringLiteral("Clipboard"));
    f.controller().window()->hide();
}

TEST(SettingsWindow, TargetPidNamesTheLastOtherAppInFrontWhileOpen)
{
    SettingsWindowFixture f;
    const int32_t ours = int32_t(QCoreApplication::applicationPid());
    platform::RunningApp editor;
    editor.pid = 4242;
    editor.appId = "editor";
    editor.active = true;
    platform::RunningApp us;
    us.pid = ours;
    us.appId = "quillon";
    platform::RunningApp browser;
    browser.pid = 5151;
    browser.appId = "browser";
    f.fake.workspaceImpl.apps = {editor, us};
    f.controller().show();
    auto target = [&] { return f.controller().model().targetPID(); };
    EXPECT_EQ(target(), 4242);

    f.fake.workspaceImpl.send(platform::AppNotice::activated, us);
    EXPECT_EQ(target(), 4242) << "switching to us keeps the app the person came from";
    f.fake.workspaceImpl.send(platform::AppNotice::activated, browser);
    EXPECT_EQ(target(), 5151);
    f.fake.workspaceImpl.send(platform::AppNotice::activated, us);
    EXPECT_EQ(target(), 5151);

    f.controller().window()->hide();
    f.fake.workspaceImpl.send(platform::AppNotice::activated, editor);
    EXPECT_EQ(target(), 5151) << "no tracking while closed";

    // Ours in front at show: nothing to act on.
    f.fake.workspaceImpl.apps = {us};
    f.fake.workspaceImpl.apps[0].active = true;
    f.controller().show();
    EXPECT_EQ(target(), std::nullopt);
    f.controller().window()->hide();
}

} // namespace
} // namespace quillon
