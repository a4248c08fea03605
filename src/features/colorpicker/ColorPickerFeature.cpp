#include "features/colorpicker/ColorPickerFeature.h"

#include "input/HotKeyWatcher.h"
#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>
#include <cmath>

namespace quillon {

ColorPickerFeature::ColorPickerFeature(HotKeyWatcher& hotKeys)
    : m_hotKeys(hotKeys)
    , m_self(std::make_shared<ColorPickerFeature*>(this))
{
}

ColorPickerFeature::~ColorPickerFeature()
{
    deactivate();
}

void ColorPickerFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    std::weak_ptr<ColorPickerFeature*> weak = m_self;
    // A refused key leaves the feature on without it; the watcher logs it.
    m_hotKeyId = m_hotKeys.registerHotKey(keyCode, modifiers, [weak] {
        if (auto self = weak.lock())
            (*self)->trigger();
    });
}

void ColorPickerFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_hotKeyId)
        m_hotKeys.unregister(*m_hotKeyId);
    m_hotKeyId.reset();
}

void ColorPickerFeature::trigger()
{
    Log::debug("Color: picker opened");
    if (!m_active)
        return;
    std::weak_ptr<ColorPickerFeature*> weak = m_self;
    platform::platform().colorSampler().sample([weak](std::optional<QColor> colour) {
        auto self = weak.lock();
        if (!self || !colour)
            return;
        const auto text = hex(*colour);
        if (!text)
            return;
        auto& pasteboard = platform::platform().pasteboard();
        pasteboard.clear();
        pasteboard.writeString(*text);
        if ((*self)->onColor)
            (*self)->onColor(*text, *colour);
    });
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
