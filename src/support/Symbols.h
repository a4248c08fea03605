#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <optional>

class QPainter;

namespace quillon {

/// The named glyphs of the bar, the shelf, the menus and the settings panes
/// ("tray.fill", "doc.fill", "cup.and.saucer.fill", …), drawn by this system
/// as template images: only their shape counts, and the place that shows one
/// chooses its colour when it draws it.
///
/// A symbol's icon is a mask (`QIcon::isMask()`) whose `name()` is the symbol
/// name; it scales to any size without loss.
class Symbols {
public:
    Symbols() = delete;

    /// The size a symbol is drawn at when nothing else is asked for.
    static constexpr QSizeF naturalSize{16, 16};

    /// The glyph of that name; none for a name this system does not draw.
    static std::optional<QIcon> image(const QString& name);
    /// Every name `image` answers.
    static QStringList names();

    /// The icon at `pixelSize` device pixels: a template in `tint`, any
    /// other image (an application icon, the battery glyph) as it is drawn.
    static QImage render(const QIcon& icon, const QSize& pixelSize, const QColor& tint);
    /// Draws the icon into `target`, at the painter's resolution.
    static void paint(QPainter& painter, const QIcon& icon, const QRectF& target, const QColor& tint);
};

} // namespace quillon
