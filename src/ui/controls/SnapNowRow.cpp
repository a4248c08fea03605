#include "ui/controls/SnapNowRow.h"

#include "features/snap/SnapIcon.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "ui/controls/Keycap.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace quillon {

SnapNowRow::SnapNowRow(const SnapShortcut& shortcut, bool enabled, std::function<void()> action, QWidget* parent)
    : RowButton(parent)
{
    contentLayout()->setSpacing(9);
    if (const auto icon = SnapIcon::image(shortcut.position)) {
        m_hasIcon = true;
        const QSize size = SnapIcon::size.toSize();
        auto* label = new QLabel;
        label->setFixedSize(iconWidth, size.height());
        QPixmap pixmap = QPixmap::fromImage(Symbols::render(*icon, size * 2, palette().color(QPalette::WindowText)));
        pixmap.setDevicePixelRatio(2);
        label->setPixmap(pixmap);
        contentLayout()->addWidget(label, 0, Qt::AlignVCenter);
    }
    m_title = new QLabel(shortcut.title);
    if (!enabled) {
        QPalette palette = m_title->palette();
        palette.setColor(QPalette::WindowText, DS::menuTextTertiary());
        palette.setColor(QPalette::Disabled, QPalette::WindowText, DS::menuTextTertiary());
        m_title->setPalette(palette);
    }
    contentLayout()->addWidget(m_title, 1, Qt::AlignVCenter);
    contentLayout()->addWidget(new KeyChip(shortcut.display()), 0, Qt::AlignVCenter);
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(shortcut.title);
    setEnabled(enabled);
    if (!enabled)
        setCursor(Qt::ArrowCursor);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
}

} // namespace quillon
