#pragma once

#include "app/Feature.h"

#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class HotKeyWatcher;

/// Copies the colour of a picked pixel as a hex code.
class ColorPickerFeature final : public Feature {
public:
    explicit ColorPickerFeature(HotKeyWatcher& hotKeys);
    ~ColorPickerFeature() override;

    /// The hot key: C with Control, Option and Shift (Super, Alt, Shift here).
    static constexpr int64_t keyCode = 8;
    static constexpr uint32_t modifiers = 6656;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;
    /// Opens the loupe; the picked colour goes to the clipboard as hex text.
    void trigger();
    std::optional<uint32_t> hotKeyId() const { return m_hotKeyId; }

    /// The picked colour as hex text and as colour.
    std::function<void(const QString&, const QColor&)> onColor;

    /// "#RRGGBB" of a colour's sRGB bytes; none for an invalid colour.
    /// Extended-range components clamp to 0 and 1.
    static std::optional<QString> hex(const QColor& color);

private:
    HotKeyWatcher& m_hotKeys;
    std::optional<uint32_t> m_hotKeyId;
    bool m_active = false;
    // Held weakly by the hot key's action and the loupe's answer.
    std::shared_ptr<ColorPickerFeature*> m_self;
};

} // namespace quillon
