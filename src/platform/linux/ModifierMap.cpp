#include "platform/linux/ModifierMap.h"

#include "platform/linux/X11Connection.h"

#include <map>

namespace quillon::platform::linux_ {

namespace {
constexpr xcb_keysym_t numLockKeysym = 0xff7f;
}

std::optional<ModifierMap> ModifierMap::load(xcb_connection_t* c)
{
    const xcb_setup_t* setup = xcb_get_setup(c);
    const uint8_t first = setup->min_keycode;
    const uint8_t count = uint8_t(setup->max_keycode - setup->min_keycode + 1);
    const auto keyboardCookie = xcb_get_keyboard_mapping(c, first, count);
    const auto modifiersCookie = xcb_get_modifier_mapping(c);
    XcbReply<xcb_get_keyboard_mapping_reply_t> keyboard(
        xcb_get_keyboard_mapping_reply(c, keyboardCookie, nullptr));
    XcbReply<xcb_get_modifier_mapping_reply_t> modifiers(
        xcb_get_modifier_mapping_reply(c, modifiersCookie, nullptr));
    if (!keyboard || !modifiers)
        return std::nullopt;

    ModifierMap map;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(keyboard.get());
    const int perKey = keyboard->keysyms_per_keycode;
    const int keysymCount = xcb_get_keyboard_mapping_keysyms_length(keyboard.get());
    const xcb_keycode_t* modifierKeys = xcb_get_modifier_mapping_keycodes(modifiers.get());
    const int perModifier = modifiers->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const int key = modifierKeys[modifier * perModifier + i];
            if (key == 0)
                continue;
            map.m_bits[size_t(key)] |= uint16_t(1u << modifier);
            if (key < first || map.m_numLock)
                continue;
            for (int level = 0; level < perKey; ++level) {
                const int index = (key - first) * perKey + level;
                if (index < keysymCount && keysyms[index] == numLockKeysym)
                    map.m_numLock = uint16_t(1u << modifier);
            }
        }
    }
    // The core map lists only a few keys per modifier, while the keyboard
    // extension gives every key of the same kind the same modifier: with the
    // right Alt made a level-three shift, ISO_Level3_Shift sets Mod5 from
    // key 108 as well, though only key 92 is listed. A key missing from the
    // map takes the bits of a listed key with the same symbol.
    std::map<xcb_keysym_t, uint16_t> bitsBySymbol;
    const auto symbolOf = [&](int key) -> xcb_keysym_t {
        const int index = (key - first) * perKey;
        return key >= first && perKey > 0 && index < keysymCount ? keysyms[index] : 0;
    };
    for (int key = first; key <= setup->max_keycode; ++key) {
        if (map.m_bits[size_t(key)] && symbolOf(key))
            bitsBySymbol[symbolOf(key)] |= map.m_bits[size_t(key)];
    }
    for (int key = first; key <= setup->max_keycode; ++key) {
        const auto listed = bitsBySymbol.find(symbolOf(key));
        if (!map.m_bits[size_t(key)] && listed != bitsBySymbol.end())
            map.m_bits[size_t(key)] = listed->second;
    }
    return map;
}

std::vector<uint16_t> ModifierMap::lockVariants(uint16_t modifiers) const
{
    std::vector<uint16_t> result{modifiers, uint16_t(modifiers | XCB_MOD_MASK_LOCK)};
    if (m_numLock) {
        result.push_back(uint16_t(modifiers | m_numLock));
        result.push_back(uint16_t(modifiers | m_numLock | XCB_MOD_MASK_LOCK));
    }
    return result;
}

} // namespace quillon::platform::linux_
