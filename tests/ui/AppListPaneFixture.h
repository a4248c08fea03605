#pragma once

#include "PaneFixture.h"

#include "fakes/FakePlatform.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"

#include <gtest/gtest.h>

namespace quillon::testing {

/// A pane with app lists and string modes, with the raw stored values at hand.
template <typename Pane> struct AppListPaneFixture : PaneFixture<Pane> {
    /// Stores `value` under `key`; none removes the key.
    void store(const QString& key, const std::optional<platform::PlistValue>& value)
    {
        if (value)
            this->settings().set(*value, key);
        else
            this->settings().defaults().remove(key);
    }
    std::optional<platform::PlistValue> stored(const QString& key) const
    {
        return this->app->settings().defaults().storedValue(key);
    }
};

/// Adds `id` to a chips row as a person does: "+ Add", then the application
/// chosen in the picker sheet.
inline void addThroughPicker(fakes::FakePlatform& fake, AppChipsRow& row, const QString& id)
{
    platform::AppEntry entry;
    entry.appId = id;
    entry.name = id;
    entry.path = "/usr/share/applications/" + id + ".desktop";
    fake.appDirectoryImpl.files.push_back(entry);
    row.addButton()->click();
    AppPickerSheet* sheet = row.addButton()->sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->choose(entry.path));
}

/// Removes `id`'s chip through its cross.
inline void removeChip(AppChipsRow& row, const QString& id)
{
    for (AppChip* chip : row.chips()) {
        if (chip->bundleID() == id) {
            chip->removeButton()->click();
            return;
        }
    }
    ADD_FAILURE() << "no chip " << id.toStdString();
}

} // namespace quillon::testing
