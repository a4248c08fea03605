#pragma once

#include "app/SettingsPane.h"
#include "platform/AppShell.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace quillon {

/// The diagnostic command-line options. Only the first occurrence of each
/// counts; its value is the argument that follows it, and an option without
/// one is ignored.
struct LaunchOptions {
    struct SettingsSnapshot {
        QString directory;
        /// The known panes of the list, in the given order with repeats;
        /// every pane when no list was given.
        std::vector<SettingsPane> panes;
    };

    /// `--appearance <value>`: dark for exactly "dark", light for anything else.
    std::optional<platform::Appearance> appearance;
    /// `--settings-png <directory> [<pane>,<pane>,…]`.
    std::optional<SettingsSnapshot> settingsPNG;

    static LaunchOptions parse(const QStringList& arguments);
};

} // namespace quillon
