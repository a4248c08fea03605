#pragma once

#include "platform/StatusItem.h"

#include <QSystemTrayIcon>

namespace quillon::platform::linux_ {

/// A tray icon through Qt: a StatusNotifierItem where a watcher runs on the
/// session bus, else an XEmbed icon in the tray that owns _NET_SYSTEM_TRAY_S<n>.
class QtStatusItem final : public StatusItem {
public:
    QtStatusItem();
    ~QtStatusItem() override;

    void setIcon(const QIcon& icon) override;
    QIcon icon() const override { return m_icon; }
    void setToolTip(const QString& text) override { m_tray.setToolTip(text); }
    void setMenu(QMenu* menu) override;
    void popUpMenu() override;

private:
    QSystemTrayIcon m_tray;
    QIcon m_icon;
    QMenu* m_menu = nullptr;
};

class QtStatusBar final : public StatusBar {
public:
    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    std::unique_ptr<StatusItem> makeItem() override { return std::make_unique<QtStatusItem>(); }
};

} // namespace quillon::platform::linux_
