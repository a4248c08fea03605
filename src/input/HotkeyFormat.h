#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

/// Turns a chord label ("r⌘ r⌥ A", "⌃⌥ Space") into the keys drawn as keycaps
/// and into a compact one-line form. Labels use the modifier glyphs ⌘ ⌥ ⌃ ⇧;
/// a token starting with "r" and a glyph names the right-hand key.
class HotkeyFormat {
public:
    HotkeyFormat() = delete;

    struct Parsed {
        /// Some token named a right-hand modifier; applies to the whole label.
        bool rightSide = false;
        QStringList keys;
        bool operator==(const Parsed&) const = default;
    };

    static Parsed parse(const QString& label);
    static QString compact(const QString& label);
};

} // namespace quillon
