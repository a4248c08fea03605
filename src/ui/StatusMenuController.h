#pragma once

#include "platform/StatusItem.h"
#include "ui/StatusMenuModel.h"

#include <QMenu>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

/// The tray icon's menu. Its entries are built each time it opens, from the
/// answers of the callbacks the application delegate fills in; a missing
/// callback answers nothing, 0 or false, and its action does nothing.
class StatusMenuController {
public:
    using WalkthroughProgress = StatusMenuModel::WalkthroughProgress;
    using AwakeSession = StatusMenuModel::AwakeSession;

    StatusMenuController();
    ~StatusMenuController();
    StatusMenuController(const StatusMenuController&) = delete;
    StatusMenuController& operator=(const StatusMenuController&) = delete;

    QMenu& menu() { return m_menu; }
    /// The Keep Awake submenu (rebuilt with the menu).
    QMenu& awakeMenu() { return *m_awakeMenu; }
    /// Stored by the application delegate once it made the item.
    std::unique_ptr<platform::StatusItem> statusItem;

    /// A left click on the icon: opens the menu at the pointer.
    void statusItemClicked();
    /// A right click: starts or ends a keep-awake session; never a menu.
    void statusItemContextClicked();
    /// Gives the icon the image for the keep-awake state.
    void updateIcon(bool awakeActive);
    /// Rebuilds the entries; runs as the menu is about to open.
    void rebuild();
    /// What the callbacks answer now.
    StatusMenuModel::Answers answers() const;

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
    /// Asks for a duration of the person's own; the modal prompt by default.
    std::function<std::optional<int>()> runDurationPrompt;

private:
    void fill(QMenu& menu, const std::vector<StatusMenuModel::Entry>& entries);
    void perform(const StatusMenuModel::Entry& entry);
    void pickCustomDuration();
    void toggleDisplaySleep();

    QMenu m_menu;
    std::unique_ptr<QMenu> m_awakeMenu;
    // Queued work holds this weakly.
    std::shared_ptr<StatusMenuController*> m_self;
};

} // namespace quillon
