#pragma once

#include "app/Feature.h"

#include <QColor>
#include <QString>
#include <functional>

namespace quillon {

class HotKeyWatcher;

/// Copies the colour of a picked pixel as a hex code.
class ColorPickerFeature final : public BasicFeature {
public:
    explicit ColorPickerFeature(HotKeyWatcher& hotKeys);

    /// The picked colour as hex text and as colour.
    std::function<void(const QString&, const QColor&)> onColor;

private:
    [[maybe_unused]] HotKeyWatcher& m_hotKeys;
};

} // namespace quillon
