#pragma once

#include "platform/HotKeys.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>

namespace quillon {

/// The shared owner of global hot keys. The press handler is installed with
/// the first registration and removed when the last hot key goes.
class HotKeyWatcher {
public:
    /// 'HKEY': the signature every hot key of ours carries.
    static constexpr uint32_t signature = 0x484B4559;

    HotKeyWatcher() = default;
    ~HotKeyWatcher();
    HotKeyWatcher(const HotKeyWatcher&) = delete;
    HotKeyWatcher& operator=(const HotKeyWatcher&) = delete;

    /// Registers a virtual key code with a modifier mask (platform::HotKeyModifiers).
    /// Answers the hot key's id, or none when the key is refused (another
    /// application owns it) or the key code is out of range. Ids start at 1
    /// and are never reused.
    std::optional<uint32_t> registerHotKey(int64_t keyCode, uint32_t modifiers, std::function<void()> action);
    void unregister(uint32_t id);

    bool hasHandler() const { return m_handler.has_value(); }

private:
    void handleHotKey(platform::HotKeyId hotKey);
    void removeHandlerWhenUnused();

    std::optional<int> m_handler;
    std::map<uint32_t, int> m_refs;
    std::map<uint32_t, std::function<void()>> m_actions;
    uint32_t m_nextID = 1;
};

} // namespace quillon
