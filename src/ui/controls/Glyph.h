#pragma once

#include <QColor>
#include <QString>

class QLabel;

namespace quillon {

/// A label showing the named symbol `size` wide in `color`, sharp on screens
/// of twice the density.
QLabel* glyphLabel(const QString& symbol, int size, const QColor& color);

} // namespace quillon
