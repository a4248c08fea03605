#include "shelf/ShelfPaint.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace quillon::ShelfPaint {

QFont font(double pixelSize, QFont::Weight weight, bool monospaced)
{
    QFont font =
        QFontDatabase::systemFont(monospaced ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    if (monospaced)
        font.setStyleHint(QFont::Monospace);
    if (pixelSize == std::floor(pixelSize)) {
        font.setPixelSize(int(pixelSize));
    } else {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
        font.setPointSizeF(pixelSize * 72.0 / dpi);
    }
    font.setWeight(weight);
    return font;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

QColor white(double alpha)
{
    return QColor::fromRgbF(1, 1, 1, float(alpha));
}

} // namespace quillon::ShelfPaint
