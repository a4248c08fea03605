// The application picker on the virtual desktop: the installed entries read
// from the XDG folders, the running test window recognised as one of them,
// typing and clicking through XTest.
#include "common/Desktop.h"
#include "common/TestWindows.h"
#include "common/Typist.h"
#include "platform/linux/LinuxPlatform.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <optional>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::waitFor;

constexpr uint8_t xQ = 24, xU = 30, xI = 31, xN = 57, xEscape = 9;

QStringList ids(const std::vector<AppDirectory::InstalledApp>& apps)
{
    QStringList out;
    for (const auto& app : apps)
        out << app.bundleID;
    return out;
}

class AppPickerDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        QUILLON_REQUIRE_DESKTOP();
        m_savedHome = qgetenv("XDG_DATA_HOME");
        m_savedDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", (m_data.path() + "/home").toUtf8());
        qputenv("XDG_DATA_DIRS", (m_data.path() + "/system").toUtf8());
        // The test window program is the one the "Quince Picker" entry runs.
        write("home/applications/quillon-fixture-quince.desktop",
              "[Desktop Entry]\nType=Application\nName=Quince Picker\nExec=quillon-test-window --title Quince\n");
        write("system/applications/quillon-fixture-quartz.desktop",
              "[Desktop Entry]\nType=Application\nName=Quartz Tool\nExec=quillon-fixture-quartz\n");
        write("system/applications/quillon-fixture-hidden.desktop",
              "[Desktop Entry]\nType=Application\nName=Quiet Helper\nExec=helper\nNoDisplay=true\n");
        m_platform = std::make_unique<platform::linux_::LinuxPlatform>();
        platform::setPlatform(m_platform.get());
        typist.emplace();
        m_set = true;
    }
    void TearDown() override
    {
        if (!m_set)
            return;
        m_platform.reset();
        qputenv("XDG_DATA_HOME", m_savedHome);
        qputenv("XDG_DATA_DIRS", m_savedDirs);
    }
    void write(const QString& relative, const QByteArray& text)
    {
        const QString path = m_data.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void click(const QPoint& at)
    {
        typist->moveTo(at.x(), at.y());
        waitFor([] { return false; }, 100);
        typist->button(1, true);
        typist->button(1, false);
    }
    /// Opens the picker with a real click on "+ Add".
    AppPickerSheet* openPicker(AppChipsRow& row)
    {
        AddChipButton* add = row.addButton();
        click(add->mapToGlobal(add->rect().center()));
        if (!waitFor([&] {
                return add->sheet() && add->sheet()->isVisible() && add->sheet()->windowHandle()->isExposed() &&
                       add->sheet()->searchField()->hasFocus();
            }))
            return nullptr;
        waitFor([] { return false; }, 200);
        return add->sheet();
    }

    std::optional<testing::Typist> typist;

private:
    QTemporaryDir m_data;
    QByteArray m_savedHome, m_savedDirs;
    std::unique_ptr<platform::linux_::LinuxPlatform> m_platform;
    bool m_set = false;
};

TEST_F(AppPickerDesktop, ListsTheRunningWindowFiltersAsYouTypeAndAddsOnAClick)
{
    testing::TestWindows windows({"--title", "Quince"});
    ASSERT_EQ(windows.ids.size(), 1u);
    auto& workspace = platform::platform().workspace();
    ASSERT_TRUE(waitFor([&] {
        const auto app = workspace.app(windows.pid());
        return app && app->appId == "quillon-fixture-quince";
    }));

    QStringList changes;
    AppChipsRow row("Apps", {}, {}, [&](const QString& id) { changes << id; });
    row.setWindowTitle("picker rig");
    row.setGeometry(420, 120, 420, 120);
    row.show();
    ASSERT_TRUE(waitFor([&] { return row.windowHandle()->isExposed(); }));
    waitFor([] { return false; }, 300);

    AppPickerSheet* sheet = openPicker(row);
    ASSERT_TRUE(sheet);
    const auto listed = sheet->shown();
    const auto quince = std::find_if(listed.begin(), listed.end(),
                                     [](const auto& app) { return app.bundleID == "quillon-fixture-quince"; });
    ASSERT_NE(quince, listed.end());
    EXPECT_EQ(quince->name, "Quince Picker");
    EXPECT_TRUE(quince->isRunning) << "the test window is the fixture entry, running";
    EXPECT_FALSE(listed.back().isRunning) << "running apps come first";
    EXPECT_FALSE(ids(listed).contains("quillon-fixture-hidden"));
    EXPECT_TRUE(ids(listed).contains("quillon-fixture-quartz"));

    for (const uint8_t key : {xQ, xU, xI, xN})
        typist->tap(key);
    ASSERT_TRUE(waitFor([&] { return sheet->searchField()->text() == "quin"; }));
    EXPECT_EQ(ids(sheet->shown()), QStringList{"quillon-fixture-quince"});

    QListWidget* list = sheet->list();
    const QRect first = list->visualItemRect(list->item(0));
    click(list->viewport()->mapToGlobal(first.center()));
    ASSERT_TRUE(waitFor([&] { return !changes.isEmpty(); }));
    EXPECT_EQ(changes, QStringList{"quillon-fixture-quince"});
    EXPECT_TRUE(waitFor([&] { return !row.addButton()->sheet() || !row.addButton()->sheet()->isVisible(); }));
}

TEST_F(AppPickerDesktop, EscapeClosesThePickerAddingNothing)
{
    QStringList changes;
    AppChipsRow row("Apps", {}, {"quillon-fixture-quartz"}, [&](const QString& id) { changes << id; });
    row.setWindowTitle("picker rig");
    row.setGeometry(420, 120, 420, 120);
    row.show();
    ASSERT_TRUE(waitFor([&] { return row.windowHandle()->isExposed(); }));
    waitFor([] { return false; }, 300);
    ASSERT_EQ(row.chips().size(), 1);
    EXPECT_EQ(row.chips()[0]->name(), "Quartz Tool");

    AppPickerSheet* sheet = openPicker(row);
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(ids(sheet->shown()).contains("quillon-fixture-quartz")) << "already in the row";
    typist->tap(xEscape);
    EXPECT_TRUE(waitFor([&] { return !row.addButton()->sheet() || !row.addButton()->sheet()->isVisible(); }));
    waitFor([] { return false; }, 300);
    EXPECT_TRUE(changes.isEmpty());
}

} // namespace
} // namespace quillon
