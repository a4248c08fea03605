#pragma once

#include "app/Feature.h"

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

namespace quillon {

class HotKeyWatcher;

/// Copies the colour of a picked pixel as a hex code.
class ColorPickerFeature final : public BasicFeature {
public:
    explicit ColorPickerFeature(HotKeyWatcher& hotKeys);

    /// The picked colour as hex text and as colour.
    std::function<void(const QString&, const QColor&)> onColor;

    /// "#RRGGBB" of a colour's sRGB bytes; none for an invalid colour.
    /// Extended-range components clamp to 0 and 1.
    static std::optional<QString> hex(const QColor& color);

private:
    [[maybe_unused]] HotKeyWatcher& m_hotKeys;
};

} // namespace quillon
