#pragma once

#include <QIcon>
#include <QSizeF>

namespace quillon {

/// The small battery glyph of the notch's battery chips: an outlined body, a
/// terminal, a level bar and, while charging, a bolt. It is drawn in its own
/// colours (not a template): green while charging, white above the critical
/// level, the warning colour at or below it.
class BatteryIcon {
public:
    BatteryIcon() = delete;

    /// The glyph's natural size in points.
    static constexpr QSizeF size{28, 14};

    /// A resolution-independent image, drawn when it is painted.
    static QIcon image(int percent, bool charging);
};

} // namespace quillon
