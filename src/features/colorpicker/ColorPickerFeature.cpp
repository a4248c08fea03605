#include "features/colorpicker/ColorPickerFeature.h"

#include <algorithm>
#include <cmath>

namespace quillon {

ColorPickerFeature::ColorPickerFeature(HotKeyWatcher& hotKeys)
    : BasicFeature(QStringLiteral("Color"))
    , m_hotKeys(hotKeys)
{
}

std::optional<QString> ColorPickerFeature::hex(const QColor& color)
{
    if (!color.isValid())
        return std::nullopt;
    // Extended-range components may sit outside 0...1; they clamp.
    const QColor rgb = color.toExtendedRgb();
    const auto byte = [](float component) {
        if (component <= 0.0f)
            return 0;
        return static_cast<int>(std::lround(std::min(component, 1.0f) * 255.0f));
    };
    return QStringLiteral("#%1%2%3")
        .arg(byte(rgb.redF()), 2, 16, QLatin1Char('0'))
        .arg(byte(rgb.greenF()), 2, 16, QLatin1Char('0'))
        .arg(byte(rgb.blueF()), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace quillon
