#pragma once

#include "features/snap/SnapPosition.h"
#include "platform/KeyFlags.h"

#include <QString>
#include <utility>
#include <vector>

namespace quillon {

/// One keyboard shortcut of window snapping, as the Snap pane lists it.
struct SnapShortcut {
    /// The key characters of the keys that have no letter.
    static constexpr char16_t leftArrow = 0xF702;
    static constexpr char16_t rightArrow = 0xF703;
    static constexpr char16_t upArrow = 0xF700;
    static constexpr char16_t downArrow = 0xF701;
    static constexpr char16_t carriageReturn = u'\r';
    static constexpr char16_t backspace = 8;

    SnapPosition position;
    QString title;
    /// One character: a lower-case letter or one of the key characters above.
    QString key;
    platform::EventFlags modifiers;

    /// The 18 shortcuts in their six groups, in order.
    static const std::vector<std::pair<QString, std::vector<SnapShortcut>>>& groups();

    /// The glyph text: "⌃⌥ U", "⌃⌥⌘ →", "⌃⌥ ⏎". What a person reads of the
    /// glyphs is the key chip's business.
    QString display() const;
};

} // namespace quillon
