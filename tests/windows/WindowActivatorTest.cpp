#include "windows/WindowActivator.h"
#include "fakes/FakePlatform.h"

#include <gtest/gtest.h>

using namespace quillon;
using platform::WindowKind;

namespace {

TEST(WindowActivator, HintSegmentsAndInitials)
{
    struct Row {
        QString title;
        QString segment;
        std::optional<QString> initial;
    };
    const Row rows[] = {
        {"report.pdf \u2014 Preview", "Preview", "p"},
        {"  Notes  ", "Notes", "n"},
        {"Inbox - Mail - 42", "Mail", "m"},
        {"draft.txt \u2013 Editor", "Editor", "e"},
        {"a-b - Terminal", "Terminal", "t"},
        {"2024 - 12 - 31", "2024 - 12 - 31", "2"},
        {"42", "42", "4"},
        {"[1] \u00c9l\u00e8ve", "[1] \u00c9l\u00e8ve", "\u00e9"},
        {"", "", std::nullopt},
        {"   ", "", std::nullopt},
        {"Mail \u2014  - Draft", "Draft", "d"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(WindowActivator::hintSegment(row.title), row.segment) << row.title.toStdString();
        EXPECT_EQ(WindowActivator::initial(row.title), row.initial) << row.title.toStdString();
    }
}

TEST(WindowActivator, LongNamesAreShortened)
{
    EXPECT_EQ(WindowActivator::hintName("Terminal12"), "Terminal12");
    EXPECT_EQ(WindowActivator::hintName("Terminal123"), "Terminal1\u2026");
    EXPECT_EQ(WindowActivator::hintName("\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600abcdef"),
              "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600abcd\u2026")
        << "characters, not code units";
}

class ActivatorTest : public ::testing::Test {
protected:
    void windows(std::vector<std::pair<platform::WindowId, std::optional<QString>>> list)
    {
        for (auto& [id, title] : list)
            fake.windowControlImpl.table.push_back({id, 42, WindowKind::standard, title, {}});
    }
    fakes::FakePlatform fake;
};

TEST_F(ActivatorTest, OneHintPerInitialInWindowOrder)
{
    windows({{1, QString("main.cpp \u2014 Editor")},
             {2, std::nullopt},
             {3, QString("")},
             {4, QString("notes.txt \u2014 Evening plans for tomorrow")},
             {5, QString("Build output")}});
    fake.windowControlImpl.table.push_back({6, 7, WindowKind::standard, QString("Other app"), {}});
    const std::vector<WindowActivator::Hint> expected{{"e", "Editor"}, {"b", "Build out\u2026"}};
    EXPECT_EQ(WindowActivator::titleHints(42), expected);
    fake.windowControlImpl.readable = false;
    EXPECT_TRUE(WindowActivator::titleHints(42).empty());
}

TEST_F(ActivatorTest, RaisingALetterCyclesThroughItsWindows)
{
    windows({{1, QString("a \u2014 Editor")},
             {2, QString("Browser")},
             {3, QString("b \u2014 Editor")},
             {4, QString("c \u2014 Editor")}});
    // No main window among them: the first is raised.
    WindowActivator::raiseWindow(42, "E");
    WindowActivator::raiseWindow(42, "e");
    WindowActivator::raiseWindow(42, "e");
    WindowActivator::raiseWindow(42, "e");
    const std::vector<platform::WindowId> raised{1, 3, 4, 1};
    EXPECT_EQ(fake.windowControlImpl.raised, raised);
    EXPECT_EQ(fake.workspaceImpl.activated, std::vector<int32_t>(4, 42));

    fake.windowControlImpl.mainWindows[42] = 2; // the main window has another letter
    WindowActivator::raiseWindow(42, "e");
    EXPECT_EQ(fake.windowControlImpl.raised.back(), 1u);
}

TEST_F(ActivatorTest, NoWindowWithTheLetterOrUntitledWindowsRaiseNothing)
{
    windows({{1, std::nullopt}, {2, QString("")}, {3, QString("Browser")}});
    WindowActivator::raiseWindow(42, "x");
    WindowActivator::raiseWindow(42, "");
    EXPECT_TRUE(fake.windowControlImpl.raised.empty());
    EXPECT_TRUE(fake.workspaceImpl.activated.empty());
}

// The application is activated only once its window is in front, and not
// at all when the window changed hands meanwhile (closed, its id reused).
TEST_F(ActivatorTest, TheAppIsActivatedAfterTheRaiseOnlyWhileItStillOwnsTheWindow)
{
    windows({{1, QString("a \u2014 Editor")}, {2, QString("b \u2014 Editor")}});
    auto& control = fake.windowControlImpl;
    control.holdRaises = true;
    WindowActivator::raiseWindow(42, "e");
    EXPECT_TRUE(fake.workspaceImpl.activated.empty()) << "not before the window manager is done";
    control.finishRaises();
    EXPECT_EQ(fake.workspaceImpl.activated, std::vector<int32_t>{42});

    WindowActivator::raiseWindow(42, "e");
    control.table.front().pid = 7;
    control.table.back().pid = 7;
    control.finishRaises();
    EXPECT_EQ(fake.workspaceImpl.activated, std::vector<int32_t>{42});
}

} // namespace
