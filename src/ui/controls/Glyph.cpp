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

QLabel* iconLabel(const QIcon& icon, int size)
{
    auto* label = new QLabel;
    label->setFixedSize(size, size);
    QPixmap pixmap = QPixmap::fromImage(Symbols::render(icon, QSize(size * 2, size * 2), QColor()));
    pixmap.setDevicePixelRatio(2);
    label->setPixmap(pixmap);
    return label;
}

QFont pixelFont(const QFont& base, int pixelSize, QFont::Weight weight)
{
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

} // namespace quillon
