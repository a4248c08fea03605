#pragma once

#include <QString>

namespace quillon {

/// What a person reads for a key text. Inside the system key texts keep the
/// glyphs they are matched by ("⌘V", "r⌘", "⌃⌥⇧C"); on Linux the keys behind
/// them are Ctrl, Alt and Super, so these glyphs are turned into those names
/// when a text is drawn.
///
/// | glyph | key          | label        |
/// |-------|--------------|--------------|
/// | ⌘     | Ctrl         | "Ctrl"       |
/// | ⌥     | Alt          | "Alt"        |
/// | ⌃     | Super        | "Super"      |
/// | ⇧     | Shift        | "Shift"      |
/// | r⌘    | right Ctrl   | "Right Ctrl" |
/// | r⌥    | right Alt    | "Right Alt"  |
class KeyNames {
public:
    KeyNames() = delete;

    /// The label of one modifier ("⌘", "r⌥"); the text itself for any other key.
    static QString modifier(const QString& glyph);

    /// A whole key text as a person reads it: modifiers pressed together are
    /// joined to their key with "+" ("⌘V" → "Ctrl+V", "⌃⌥⇧C" →
    /// "Super+Alt+Shift+C"); spaces stay where they were ("hold ⌘V" →
    /// "hold Ctrl+V", "r⌘ :" → "Right Ctrl :"); a key text inside brackets
    /// or quotation marks reads the same ("“r⌘”" → "“Right Ctrl”").
    static QString label(const QString& keyText);
};

} // namespace quillon
