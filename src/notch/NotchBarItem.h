#pragma once

#include <QIcon>
#include <QString>
#include <optional>

namespace quillon {

/// One item of a bar or of a hint row, as plain data; the bar view draws it
/// (and knows it as `NotchBarView::Item`). Every field a producer leaves
/// alone is empty or false.
struct NotchBarItem {
    /// A glyph: a symbol (a template, drawn in the item's colour), an
    /// application icon, or a drawn image such as the battery.
    std::optional<QIcon> icon;
    /// A label, a value or a key name. Key texts keep their glyphs ("⌘V");
    /// they become Linux key names only when drawn (KeyNames).
    std::optional<QString> text;
    /// A key letter, drawn as a small keycap on the icon's corner, or as a
    /// keycap of its own when there is no icon.
    std::optional<QString> badge;
    /// Icon and text in the warning colour.
    bool warning = false;
    /// Text before the icon, closer together, with a small icon.
    bool textLeading = false;
    /// The text is a value: plain text, never a keycap.
    bool value = false;
    /// Subdued: secondary colour, smaller font, never a keycap.
    bool dimmed = false;
    /// A small accent-coloured dot before the icon.
    bool accentDot = false;
    /// A closed eyelid line instead of the icon.
    bool closedEye = false;
    /// The key the bar registers this item's view under, so it can be pulsed.
    std::optional<QString> pulseKey;
    /// A small green dot on a badged icon: the application is running.
    bool running = false;
    /// The animated audio wave of the now-playing chip; nothing else counts.
    bool wave = false;
};

} // namespace quillon
