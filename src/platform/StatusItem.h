#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <memory>

class QMenu;

namespace quillon::platform {

/// An icon of ours in the desktop's notification area (the system tray).
class StatusItem {
public:
    virtual ~StatusItem() = default;

    /// A template icon (a mask) is drawn in a colour that suits the panel.
    virtual void setIcon(const QIcon& icon) = 0;
    virtual QIcon icon() const = 0;
    virtual void setToolTip(const QString& text) = 0;
    /// The menu popUpMenu() opens. Not owning. It is never given to the tray
    /// host as a context menu: a right click must reach onContextClick.
    virtual void setMenu(QMenu* menu) = 0;
    /// Opens that menu at the pointer.
    virtual void popUpMenu() = 0;

    /// Called on the main thread after a left click on the icon.
    std::function<void()> onClick;
    /// Called on the main thread after a right click (or the tray host's
    /// context request) on the icon. A middle click calls nothing.
    std::function<void()> onContextClick;
};

/// The desktop's notification area.
class StatusBar {
public:
    virtual ~StatusBar() = default;

    /// Whether a tray host runs: without one an item is never seen.
    virtual bool isAvailable() const = 0;
    /// A new item, visible as long as it lives.
    virtual std::unique_ptr<StatusItem> makeItem() = 0;
};

} // namespace quillon::platform
