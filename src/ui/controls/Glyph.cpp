#include "ui/controls/Glyph.h"

#include "support/Symbols.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

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

QFont pixelFont(const QFont& base, double pixelSize, QFont::Weight weight)
{
    QFont font = base;
    // Pixel sizes are whole: a half pixel goes through the point size.
    if (pixelSize == int(pixelSize))
        font.setPixelSize(int(pixelSize));
    else
        font = fractionalFont(font, pixelSize);
    font.setWeight(weight);
    return font;
}

QFont fractionalFont(const QFont& base, double pixelSize)
{
    QFont font = base;
    // Pixel sizes are whole, points are not: the size is given in points at
    // the screen's density.
    const QScreen* screen = QGuiApplication::primaryScreen();
    font.setPointSizeF(pixelSize * 72.0 / (screen ? screen->logicalDotsPerInch() : 96.0));
    return font;
}

} // namespace quillon
