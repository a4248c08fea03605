#pragma once

#include "platform/UserNotifications.h"
#include "ui/PaneView.h"
#include "ui/controls/PermissionRows.h"
#include "ui/panes/MissingPermissions.h"

#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QShowEvent;
class QVBoxLayout;

namespace quillon {

/// The website line of About: the site's host as its label.
struct AboutLink {
    QString host;
    QUrl url;
    bool operator==(const AboutLink&) const = default;
};

/// The application's icon, name, version, tagline and website, and every
/// permission the features use, each with its state and the ways to get it,
/// whether or not the features that need it are on.
class AboutPane final : public PaneView {
    Q_OBJECT

public:
    explicit AboutPane(SettingsModel& model, QWidget* parent = nullptr);

    /// The rows of the permissions list, in order: five, and "Files &
    /// Folders" while new screenshots are stashed.
    static std::vector<AboutPermItem> aboutPermissions(const PermissionFacts& facts, bool stashing,
                                                       const PermissionActions& actions = {});
    /// The link for the build's homepage; none for an empty value or one
    /// without a host.
    static std::optional<AboutLink> link(const QString& homepage);

    /// The grants as they stand, with the two that arrive later as last heard.
    PermissionFacts permissionFacts() const;
    std::vector<AboutPermItem> currentPermissions() const;
    /// Reads the file manager consent and asks for the notification status
    /// (kept when it arrives), then redraws.
    void refreshAsyncPermissions();
    void reload() override;

    /// Opens the website; the desktop's browser unless a test replaces it.
    std::function<void(const QUrl&)> openLink;

    platform::NotificationStatus notificationsStatus() const { return m_notificationsStatus; }
    bool automationGranted() const { return m_automationGranted; }
    /// The permission rows shown, in order.
    QList<AboutPermissionRow*> rows() const;
    /// The dividers between the rows, in order.
    QList<QWidget*> dividers() const;
    /// None without a homepage.
    QLabel* linkLabel() const { return m_link; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    PermissionActions permissionActions() const;

    platform::NotificationStatus m_notificationsStatus = platform::NotificationStatus::notDetermined;
    bool m_automationGranted = false;
    QLabel* m_link = nullptr;
    QVBoxLayout* m_listLayout = nullptr;
    /// What the list shows now: rows are made again only when it changes.
    QStringList m_shown;
};

} // namespace quillon
