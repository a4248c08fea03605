#include "platform/linux/QtStatusItem.h"

#include <QCursor>
#include <QMenu>
#include <QPainter>

namespace quillon::platform::linux_ {

namespace {

// Tray hosts draw icons as they are, on panels light or dark, and an XEmbed
// host seldom says which. A template becomes a dark glyph inside a light
// edge: the edge shows on a dark panel, the glyph on a light one.
QPixmap edgedGlyph(const QIcon& icon, int side)
{
    const QImage mask =
        icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    auto tinted = [&](const QColor& colour) {
        QImage image = mask;
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), colour);
        return image;
    };
    // The glyph drawn a little smaller leaves room for the edge around it.
    const int edge = side >= 32 ? 2 : 1;
    const QRect inner(edge, edge, side - 2 * edge, side - 2 * edge);
    const QImage light =
        tinted(QColor(245, 245, 248)).scaled(inner.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QImage dark =
        tinted(QColor(28, 28, 30)).scaled(inner.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage result(side, side, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    for (int dx = -edge; dx <= edge; ++dx) {
        for (int dy = -edge; dy <= edge; ++dy)
            painter.drawImage(inner.topLeft() + QPoint(dx, dy), light);
    }
    painter.drawImage(inner.topLeft(), dark);
    painter.end();
    return QPixmap::fromImage(result);
}

QIcon trayIcon(const QIcon& icon)
{
    if (!icon.isMask())
        return icon;
    QIcon edged;
    for (const int side : {16, 22, 24, 32, 48})
        edged.addPixmap(edgedGlyph(icon, side));
    return edged;
}

} // namespace

QtStatusItem::QtStatusItem()
{
    QObject::connect(&m_tray, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            if (onClick)
                onClick();
            break;
        case QSystemTrayIcon::Context:
            if (onContextClick)
                onContextClick();
            break;
        case QSystemTrayIcon::DoubleClick:
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
        }
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
    // Not the tray's context menu: with one, Qt or the host would open it on
    // a right click, which starts or ends keep-awake instead.
    m_menu = menu;
}

void QtStatusItem::popUpMenu()
{
    if (m_menu)
        m_menu->popup(QCursor::pos());
}

} // namespace quillon::platform::linux_
