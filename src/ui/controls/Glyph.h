#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QIcon;
class QLabel;

namespace quillon {

/// A label showing the named symbol `size` wide in `color`, sharp on screens
/// of twice the density.
QLabel* glyphLabel(const QString& symbol, int size, const QColor& color);
/// A label showing an application's icon `size` square, sharp on screens of
/// twice the density.
QLabel* iconLabel(const QIcon& icon, int size);
/// `base` at `pixelSize` device-independent pixels and `weight`.
QFont pixelFont(const QFont& base, double pixelSize, QFont::Weight weight = QFont::Normal);
/// `base` at a fractional pixel size.
QFont fractionalFont(const QFont& base, double pixelSize);

} // namespace quillon
