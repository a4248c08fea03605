#include "fakes/FakePlatform.h"
#include "windows/WindowSpaces.h"

#include <gtest/gtest.h>

using namespace quillon;

namespace {

TEST(WindowSpaces, PredicatesOverAWindowsSpaces)
{
    using Spaces = std::optional<std::vector<uint64_t>>;
    using Ids = std::vector<uint64_t>;
    struct Row {
        const char* name;
        Spaces spaces;
        bool onOther;
        std::optional<uint64_t> other;
    };
    const Row rows[] = {
        {"on the active Space", Spaces(Ids{1}), false, std::nullopt},
        {"on another Space", Spaces(Ids{3}), true, 3},
        {"on every Space", Spaces(Ids{1, 2, 3}), false, 2},
        {"on no Space", Spaces(std::vector<uint64_t>{}), false, std::nullopt},
        {"unknown", std::nullopt, false, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(WindowSpaces::isOnOtherSpace(row.spaces, 1), row.onOther) << row.name;
        EXPECT_EQ(WindowSpaces::otherSpace(row.spaces, 1), row.other) << row.name;
    }
}

TEST(WindowSpaces, AsksTheWindowManagerAndKnowsNothingWithoutWorkspaces)
{
    fakes::FakePlatform fake;
    fake.spacesImpl.windowSpaces[7] = {1, 2, 3, 4};
    fake.spacesImpl.windowSpaces[8] = {2};
    auto& spaces = WindowSpaces::shared();
    EXPECT_TRUE(spaces.symbolsResolved());
    EXPECT_EQ(spaces.activeSpace(), 1u);
    EXPECT_FALSE(spaces.isOnOtherSpace(7, 1));
    EXPECT_EQ(spaces.otherSpace(7, 1), 2u);
    EXPECT_TRUE(spaces.isOnOtherSpace(8, 1));

    fake.spacesImpl.set(false, 0, 0);
    EXPECT_FALSE(spaces.symbolsResolved());
    EXPECT_FALSE(spaces.isOnOtherSpace(8, 1));
    EXPECT_EQ(spaces.otherSpace(7, 1), std::nullopt);
}

TEST(WindowSpaces, LogsWhatIsMissingOncePerWindowManagerChange)
{
    fakes::FakePlatform fake;
    auto errors = [&] {
        return std::count_if(fake.log.lines.begin(), fake.log.lines.end(), [](const auto& line) {
            return line.level == platform::LogLevel::Error &&
                   line.message == "window manager does not report workspaces; falling back to per-app window "
                                   "counting";
        });
    };
    fake.spacesImpl.set(false, 0, 0);
    WindowSpaces::shared().symbolsResolved();
    WindowSpaces::shared().symbolsResolved();
    EXPECT_EQ(errors(), 1);
    fake.spacesImpl.set(true, 1, 2); // a window manager with workspaces took over…
    EXPECT_TRUE(WindowSpaces::shared().symbolsResolved());
    fake.spacesImpl.set(false, 0, 0); // …and was replaced by one without
    WindowSpaces::shared().symbolsResolved();
    EXPECT_EQ(errors(), 2);
}

} // namespace
