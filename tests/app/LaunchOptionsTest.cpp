#include "app/LaunchOptions.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::Appearance;

TEST(LaunchOptions, AppearanceIsDarkOnlyForExactlyDark)
{
    struct Row {
        QStringList arguments;
        std::optional<Appearance> expected;
    };
    const Row table[] = {
        {{"quillon"}, std::nullopt},
        {{"quillon", "--appearance", "dark"}, Appearance::dark},
        {{"quillon", "--appearance", "light"}, Appearance::light},
        {{"quillon", "--appearance", "Dark"}, Appearance::light},
        {{"quillon", "--appearance"}, std::nullopt},
        {{"quillon", "--appearance", "light", "--appearance", "dark"}, Appearance::light},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        EXPECT_EQ(LaunchOptions::parse(row.arguments).appearance, row.expected);
    }
}

TEST(LaunchOptions, SettingsSnapshotTakesTheFolderAndTheKnownPanes)
{
    const std::vector<SettingsPane> all(SettingsPane::allCases().begin(), SettingsPane::allCases().end());
    struct Row {
        QStringList arguments;
        std::optional<QString> directory;
        std::vector<SettingsPane> panes;
    };
    const Row table[] = {
        {{"quillon"}, std::nullopt, {}},
        {{"quillon", "--settings-png"}, std::nullopt, {}},
        {{"quillon", "--settings-png", "/tmp/out"}, "/tmp/out", all},
        {{"quillon", "--settings-png", "/tmp/out", "snap,bogus,jump"},
         "/tmp/out",
         {SettingsPane::snap, SettingsPane::jump}},
        // Order and repeats stay; empty pieces and wrong case go.
        {{"quillon", "--settings-png", "out", ",jump,,snap,jump,Snap,"},
         "out",
         {SettingsPane::jump, SettingsPane::snap, SettingsPane::jump}},
        // Nothing known: an empty list, which the snapshot reads as every pane.
        {{"quillon", "--settings-png", "out", "bogus"}, "out", {}},
        {{"quillon", "--settings-png", "first", "about", "--settings-png", "second"},
         "first",
         {SettingsPane::about}},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const auto snapshot = LaunchOptions::parse(row.arguments).settingsPNG;
        ASSERT_EQ(snapshot.has_value(), row.directory.has_value());
        if (!snapshot)
            continue;
        EXPECT_EQ(snapshot->directory, *row.directory);
        EXPECT_EQ(snapshot->panes, row.panes);
    }
}

} // namespace
} // namespace quillon
