#include "ui/LoginItem.h"
#include "fakes/ForwardingPlatform.h"
#include "platform/linux/AutostartLoginItem.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::AutostartLoginItem;
using Status = platform::LoginItem::Status;

/// The real autostart entry in a temporary configuration folder.
class AutostartPlatform final : public fakes::ForwardingPlatform {
public:
    platform::LoginItem& loginItem() override { return item; }
    QTemporaryDir config;
    AutostartLoginItem item{config.path() + "/autostart", "app.quillon.Quillon",
                            QCoreApplication::applicationFilePath()};
};

struct LoginItemTest : ::testing::Test {
    ~LoginItemTest() override
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox*>(widget))
                delete widget;
        }
    }
    static QMessageBox* alert()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                return box;
        }
        return nullptr;
    }
    QString entryText() const
    {
        QFile file(platform.item.entryPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void write(const QByteArray& text)
    {
        QDir().mkpath(platform.config.path() + "/autostart");
        QFile file(platform.item.entryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    AutostartPlatform platform;
};

TEST_F(LoginItemTest, ToggleWritesThisExecutableAndRemovesIt)
{
    EXPECT_FALSE(LoginItem::isEnabled());
    LoginItem::toggle();
    EXPECT_TRUE(LoginItem::isEnabled());
    const QString text = entryText();
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nName=Quillon\n"));
    EXPECT_TRUE(text.contains("\nX-GNOME-Autostart-enabled=true\n"));
    EXPECT_TRUE(text.contains(
        "\nExec=" + AutostartLoginItem::quoteExec(QCoreApplication::applicationFilePath()) + "\n"));
    EXPECT_TRUE(QDir::isAbsolutePath(QCoreApplication::applicationFilePath()));

    LoginItem::toggle();
    EXPECT_FALSE(LoginItem::isEnabled());
    EXPECT_FALSE(QFile::exists(platform.item.entryPath()));
    EXPECT_FALSE(alert());
}

TEST_F(LoginItemTest, StatusOfHandWrittenEntries)
{
    const std::pair<const char*, Status> cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=/opt/other/quillon --quiet\n", Status::enabled},
        {"[Desktop Entry]\nExec=quillon\nHidden=true\n", Status::notRegistered},
        {"[Desktop Entry]\nExec=quillon\nHidden=false\n", Status::enabled},
        {"[Desktop Entry]\nExec=quillon\nX-GNOME-Autostart-enabled=false\n", Status::notRegistered},
        {"[Desktop Entry]\nExec=quillon\n[Desktop Action x]\nHidden=true\n", Status::enabled},
        {"", Status::enabled},
    };
    for (const auto& [text, status] : cases) {
        write(text);
        EXPECT_EQ(platform.item.status(), status) << text;
    }
    // A hidden entry is switched on by writing ours over it.
    write("[Desktop Entry]\nExec=quillon\nHidden=true\n");
    LoginItem::toggle();
    EXPECT_EQ(platform.item.status(), Status::enabled);
}

TEST_F(LoginItemTest, ExecQuoting)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/quillon", "/usr/bin/quillon"},
        {"/opt/My Apps/quillon", "\"/opt/My Apps/quillon\""},
        {"/opt/a$b/quillon", "\"/opt/a\\\\$b/quillon\""},
        {"/opt/100%/quillon", "/opt/100%%/quillon"},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash\""},
    };
    for (const auto& [program, exec] : cases)
        EXPECT_EQ(AutostartLoginItem::quoteExec(program), exec) << program;
}

TEST_F(LoginItemTest, UnwritableFolderGivesAlertAndLogLine)
{
    // A file where the folder should be stops even root.
    QFile blocker(platform.config.path() + "/autostart");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    LoginItem::toggle();
    EXPECT_FALSE(LoginItem::isEnabled());
    QMessageBox* box = alert();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), "Couldn’t change Launch at Login");
    EXPECT_TRUE(box->informativeText().endsWith(
        "\n\nCheck that the autostart folder (~/.config/autostart) can be written and try again."));
    bool logged = false;
    for (const auto& line : platform.fake.log.lines)
        logged |= line.level == platform::LogLevel::Error &&
                  line.message.startsWith("Launch at login toggle failed: ");
    EXPECT_TRUE(logged);
}

TEST(LoginItemOnFake, ApprovalOpensTheLoginItemsPage)
{
    fakes::FakePlatform fake;
    fake.loginItemImpl.current = Status::requiresApproval;
    fake.systemSettingsImpl.opens = true;
    LoginItem::toggle();
    EXPECT_EQ(fake.systemSettingsImpl.requested,
              std::vector<platform::SettingsPage>{platform::SettingsPage::loginItems});
    EXPECT_EQ(fake.loginItemImpl.registrations + fake.loginItemImpl.unregistrations, 0);
}

} // namespace
} // namespace quillon
