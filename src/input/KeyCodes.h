#pragma once

#include <QChar>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace quillon {

/// The characters that leader consumers receive, by virtual key code.
class KeyCodes {
public:
    KeyCodes() = delete;

    /// The ANSI letter keys, as lowercase letters.
    static const std::unordered_map<uint16_t, QChar> letterByKeyCode;
    /// The digit keys 1 to 9 (the 0 key has no entry).
    static const std::unordered_map<uint16_t, QChar> digitByKeyCode;
    /// The comma, slash and period keys.
    static const std::unordered_map<uint16_t, QChar> mediaByKeyCode;

    static std::optional<QChar> letter(uint16_t keyCode) { return find(letterByKeyCode, keyCode); }
    static std::optional<QChar> digit(uint16_t keyCode) { return find(digitByKeyCode, keyCode); }
    static std::optional<QChar> mediaKey(uint16_t keyCode) { return find(mediaByKeyCode, keyCode); }
    /// The key that gives a consumer this character (a letter in either
    /// case, a digit, a media key, ':' for the semicolon key and '~' for the
    /// grave key); none for others.
    static std::optional<uint16_t> keyCode(QChar character);

private:
    static std::optional<QChar> find(const std::unordered_map<uint16_t, QChar>& table, uint16_t keyCode)
    {
        const auto it = table.find(keyCode);
        if (it == table.end())
            return std::nullopt;
        return it->second;
    }
};

} // namespace quillon
