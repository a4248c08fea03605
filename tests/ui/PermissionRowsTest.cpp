#include "UiFixture.h"

#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace quillon {
namespace {

using platform::SettingsPage;

struct PermissionRows : ::testing::Test, testing::UiFixture {
    ~PermissionRows() override
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(widget))
                delete widget;
        }
    }
    static QList<QMessageBox*> messageBoxes()
    {
        QList<QMessageBox*> boxes;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                boxes << box;
        }
        return boxes;
    }
};

TEST_F(PermissionRows, ContentFollowsGrantAndRequest)
{
    struct Case {
        bool granted;
        bool canRequest;
        QStringList row;
        QStringList about;
    };
    const Case cases[] = {
        {true, true, {"Granted"}, {"Granted"}},
        {true, false, {"Granted"}, {"Granted"}},
        {false, true, {"Request Access", "Open Settings"}, {"Open", "Request"}},
        {false, false, {"Open Settings"}, {"Open"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.granted) + std::to_string(c.canRequest));
        std::function<void()> request;
        if (c.canRequest)
            request = [] {};
        const PermissionRow row("Accessibility", c.granted, "To read keys", request, [] {});
        const AboutPermissionRow about(
            AboutPermItem{"Accessibility", "To read keys", c.granted, request, [] {}});
        auto words = [](QStringList texts) {
            // "System Settings" is adapted to this desktop's wording.
            for (QString& text : texts)
                text.replace(QLatin1String("System Settings"), QLatin1String("Settings"));
            return texts;
        };
        EXPECT_EQ(words(row.content()), c.row);
        EXPECT_EQ(words(about.content()), c.about);
    }
}

TEST_F(PermissionRows, ButtonsCallTheirActions)
{
    int requests = 0;
    int opens = 0;
    PermissionRow row(
        "Accessibility", false, "To read keys", [&requests] { ++requests; }, [&opens] { ++opens; });
    const auto buttons = row.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[0]->click();
    EXPECT_EQ(std::pair(requests, opens), std::pair(1, 0));
    buttons[1]->click();
    EXPECT_EQ(std::pair(requests, opens), std::pair(1, 1));

    row.setGranted(true);
    EXPECT_TRUE(row.findChildren<QPushButton*>().isEmpty());
}

TEST_F(PermissionRows, AboutSubTextWraps)
{
    const AboutPermissionRow row(AboutPermItem{"Screen capture", QString(300, 'x'), false, nullptr, [] {}});
    bool wraps = false;
    for (const QLabel* label : row.findChildren<QLabel*>())
        wraps |= label->text().size() == 300 && label->wordWrap();
    EXPECT_TRUE(wraps);
}

TEST_F(PermissionRows, WashFollowsPressHoverAndEnabled)
{
    struct Case {
        bool pressed, hovered, enabled;
        double opacity;
    };
    const Case cases[] = {
        {false, false, true, 0},   {false, true, true, 0.055}, {false, true, false, 0},
        {true, false, true, 0.10}, {true, true, true, 0.10},   {true, true, false, 0.10},
    };
    for (const Case& c : cases) {
        RowButton button;
        button.setEnabled(c.enabled);
        if (c.hovered) {
            QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
            QCoreApplication::sendEvent(&button, &enter);
        }
        button.setDown(c.pressed);
        EXPECT_NEAR(button.wash().alphaF(), c.opacity, 0.004) << c.pressed << c.hovered << c.enabled;
    }
}

TEST_F(PermissionRows, ShowMeRowFiresFromAnywhere)
{
    int shown = 0;
    ShowMeRow row("Show me", "Snaps this window left", [&shown] { ++shown; });
    for (const QLabel* label : row.findChildren<QLabel*>())
        EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    row.click();
    EXPECT_EQ(shown, 1);
}

TEST_F(PermissionRows, GrantedGateLeavesNoSection)
{
    QWidget host;
    auto* gate = new PermissionGate("Accessibility", "To read keys", true, [] {});
    gate->setParent(&host);
    host.show();
    EXPECT_FALSE(gate->isVisible());
    gate->setGranted(false);
    EXPECT_TRUE(gate->isVisible());
    EXPECT_EQ(gate->headerLabel()->text(), "Needed to work");
    EXPECT_TRUE(gate->headerLabel()->isVisible());
    gate->setGranted(true);
    EXPECT_FALSE(gate->isVisible());
}

TEST_F(PermissionRows, LinkExplainsOnlyWhenNothingOpens)
{
    fake.systemSettingsImpl.opens = true;
    SystemSettingsLink::open(SettingsPage::accessibility);
    EXPECT_TRUE(messageBoxes().isEmpty());

    fake.systemSettingsImpl.opens = false;
    SystemSettingsLink::open(SettingsPage::notifications);
    ASSERT_EQ(messageBoxes().size(), 1);
    EXPECT_TRUE(messageBoxes().front()->text().contains("notification service"));
    EXPECT_EQ(fake.systemSettingsImpl.requested,
              (std::vector<SettingsPage>{SettingsPage::accessibility, SettingsPage::notifications}));
}

TEST_F(PermissionRows, EveryPageHasItsLinuxAdvice)
{
    const std::pair<SettingsPage, const char*> cases[] = {
        {SettingsPage::accessibility, "X11"},
        {SettingsPage::screenCapture, "X11"},
        {SettingsPage::notifications, "service"},
        {SettingsPage::filesAndFolders, "screenshot folder"},
        {SettingsPage::automation, "Nothing needs granting"},
        {SettingsPage::loginItems, "Nothing needs granting"},
    };
    for (const auto& [page, words] : cases)
        EXPECT_TRUE(SystemSettingsLink::explanation(page).contains(words)) << words;
}

TEST_F(PermissionRows, GateOpensTheAccessibilityPage)
{
    PermissionGate gate("Accessibility", "To read keys", false, nullptr);
    const auto buttons = gate.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    buttons.front()->click();
    EXPECT_EQ(fake.systemSettingsImpl.requested, std::vector<SettingsPage>{SettingsPage::accessibility});
}

} // namespace
} // namespace quillon
