#pragma once

#include "platform/StatusItem.h"

#include <QDateTime>
#include <QMenu>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

/// The tray icon's menu. Its entries are built each time it opens, from the
/// answers of the callbacks the application delegate fills in.
class StatusMenuController {
public:
    struct WalkthroughProgress {
        int index = 0;
        int total = 0;
    };
    struct AwakeSession {
        std::optional<QDateTime> endsAt;
        std::optional<QString> trigger;
    };

    StatusMenuController();
    StatusMenuController(const StatusMenuController&) = delete;
    StatusMenuController& operator=(const StatusMenuController&) = delete;

    QMenu& menu() { return m_menu; }
    /// Stored by the application delegate once it made the item.
    std::unique_ptr<platform::StatusItem> statusItem;

    /// The action of a click on the icon: opens the menu.
    void statusItemClicked();
    /// Gives the icon the image for the keep-awake state.
    void updateIcon(bool awakeActive);
    /// Rebuilds the entries; runs as the menu is about to open.
    void rebuild();

    std::function<void()> onOpenSettings;
    std::function<std::optional<WalkthroughProgress>()> walkthroughProgress;
    std::function<void()> onResumeWalkthrough;
    std::function<void()> onToggleAwake;
    std::function<std::optional<AwakeSession>()> awakeSession;
    std::function<int()> awakeDuration;
    std::function<void(int)> setAwakeDuration;
    std::function<bool()> allowsDisplaySleep;
    std::function<void(bool)> setAllowsDisplaySleep;
    /// Only while set, the menu offers "Check for Updates…".
    std::function<void()> onCheckForUpdates;

private:
    QMenu m_menu;
};

} // namespace quillon
