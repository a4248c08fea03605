#pragma once

#include "platform/StatusItem.h"

#include <QMenu>
#include <functional>
#include <vector>

namespace quillon::fakes {

/// A tray icon that keeps what it was given.
class FakeStatusItem final : public platform::StatusItem {
public:
    explicit FakeStatusItem(std::function<void(const QIcon&)> iconSet)
        : m_iconSet(std::move(iconSet))
    {
    }
    void setIcon(const QIcon& icon) override
    {
        m_icon = icon;
        ++iconUpdates;
        if (m_iconSet)
            m_iconSet(icon);
    }
    QIcon icon() const override { return m_icon; }
    void setToolTip(const QString& text) override { toolTip = text; }
    void setMenu(QMenu* value) override { menu = value; }
    void popUpMenu() override { ++menuPopUps; }

    /// A left click on the icon.
    void click()
    {
        if (onClick)
            onClick();
    }

    /// A right click on the icon.
    void contextClick()
    {
        if (onContextClick)
            onContextClick();
    }

    QMenu* menu = nullptr;
    QString toolTip;
    int iconUpdates = 0;
    int menuPopUps = 0;

private:
    QIcon m_icon;
    std::function<void(const QIcon&)> m_iconSet;
};

/// A notification area that may or may not have a tray host.
class FakeStatusBar final : public platform::StatusBar {
public:
    bool isAvailable() const override { return available; }
    std::unique_ptr<platform::StatusItem> makeItem() override
    {
        if (onMakeItem)
            onMakeItem();
        auto item = std::make_unique<FakeStatusItem>(onIconSet);
        items.push_back(item.get());
        return item;
    }

    bool available = true;
    /// Every item made, in order (owned by whoever asked for it).
    std::vector<FakeStatusItem*> items;
    /// Called as an item is made, and whenever an item's icon is set.
    std::function<void()> onMakeItem;
    std::function<void(const QIcon&)> onIconSet;
};

} // namespace quillon::fakes
