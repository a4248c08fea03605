#include "platform/linux/QtStatusItem.h"

#include <QCursor>
#include <QMenu>
#include <QPainter>

namespace quillon::platform::linux_ {

namespace {

// Tray hosts draw icons as they are: a template becomes a light glyph, which
// reads on the dark panels most desktops have.
QIcon trayIcon(const QIcon& icon)
{
    if (!icon.isMask())
        return icon;
    QIcon tinted;
    for (const int side : {16, 22, 24, 32, 48}) {
        QPixmap pixmap = icon.pixmap(side, side);
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), QColor(235, 235, 240));
        painter.end();
        tinted.addPixmap(pixmap);
    }
    return tinted;
}

} // namespace

QtStatusItem::QtStatusItem()
{
    QObject::connect(&m_tray, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && onClick)
            onClick();
    });
}

QtStatusItem::~QtStatusItem()
{
    m_tray.hide();
}

void QtStatusItem::setIcon(const QIcon& icon)
{
    m_icon = icon;
    m_tray.setIcon(trayIcon(icon));
    if (!m_tray.isVisible())
        m_tray.show();
}

void QtStatusItem::setMenu(QMenu* menu)
{
    m_menu = menu;
    m_tray.setContextMenu(menu);
}

void QtStatusItem::popUpMenu()
{
    if (m_menu)
        m_menu->popup(QCursor::pos());
}

} // namespace quillon::platform::linux_
