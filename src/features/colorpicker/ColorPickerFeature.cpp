#include "features/colorpicker/ColorPickerFeature.h"

namespace quillon {

ColorPickerFeature::ColorPickerFeature(HotKeyWatcher& hotKeys)
    : BasicFeature(QStringLiteral("Color"))
    , m_hotKeys(hotKeys)
{
}

} // namespace quillon
