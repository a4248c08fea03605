#include "ui/controls/Glyph.h"

#include "support/Symbols.h"

#include <QLabel>
#include <QPixmap>

namespace quillon {

QLabel* glyphLabel(const QString& symbol, int size, const QColor& color)
{
    auto* label = new QLabel;
    label->setFixedSize(size, size);
    if (const auto icon = Symbols::image(symbol)) {
        QPixmap pixmap = QPixmap::fromImage(Symbols::render(*icon, QSize(size * 2, size * 2), color));
        pixmap.setDevicePixelRatio(2);
        label->setPixmap(pixmap);
    }
    return label;
}

} // namespace quillon
