#pragma once

#include <QColor>
#include <QFont>

namespace quillon::ShelfPaint {

/// The system font (or the monospaced one) at `pixelSize` device-independent
/// pixels; a size with a fraction goes through points at the logical DPI.
QFont font(double pixelSize, QFont::Weight weight, bool monospaced = false);
QColor withAlpha(QColor color, double alpha);
QColor white(double alpha);

} // namespace quillon::ShelfPaint
