#include "input/KeyTapLogic.h"

#include "input/KeyCodes.h"

namespace quillon {

namespace {
constexpr uint16_t semicolonKey = 41;
constexpr uint16_t graveKey = 50;
} // namespace

std::optional<Leader> KeyTapLogic::leaderFrom(platform::EventFlags flags)
{
    using namespace platform;
    if (flags & KeyFlags::rightCommand)
        return (flags & KeyFlags::option) ? Leader::feature : Leader::command;
    if (flags & KeyFlags::rightOption)
        return Leader::option;
    return std::nullopt;
}

bool KeyTapLogic::handleFlags(platform::EventFlags flags)
{
    const auto next = leaderFrom(flags);
    if (next == leader)
        return false;
    leader = next;
    return true;
}

bool KeyTapLogic::keyDown(uint16_t keyCode, platform::EventFlags flags, const Handler& handler)
{
    using namespace platform;
    // An auto-repeat of a key already taken, also once the leader is let go
    // while the key is still held: the focused application must not see
    // repeats of a stroke whose press and release it never gets.
    if (consumedKeys.count(keyCode))
        return true;
    if (!leader || (flags & KeyFlags::control) || (*leader == Leader::option && (flags & KeyFlags::command)))
        return false;
    const auto ch = character(keyCode);
    if (!ch || !handler || !handler(*leader, *ch))
        return false;
    consumedKeys.insert(keyCode);
    return true;
}

bool KeyTapLogic::keyUp(uint16_t keyCode) { return consumedKeys.erase(keyCode) > 0; }

std::optional<QChar> KeyTapLogic::character(uint16_t keyCode) const
{
    if (const auto letter = KeyCodes::letter(keyCode))
        return letter;
    switch (*leader) {
    case Leader::option:
        return std::nullopt;
    case Leader::feature:
        if (keyCode == graveKey)
            return QChar('~');
        return KeyCodes::digit(keyCode);
    case Leader::command:
        if (keyCode == semicolonKey)
            return QChar(':');
        if (const auto media = KeyCodes::mediaKey(keyCode))
            return media;
        return KeyCodes::digit(keyCode);
    }
    return std::nullopt;
}

} // namespace quillon
