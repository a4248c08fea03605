#include "input/TransientKeyTap.h"

#include "platform/Platform.h"

namespace quillon {

QString TransientKeyTap::KeyEvent::characters() const
{
    if (code < 0 || code > 0xFFFF)
        return {};
    return platform::platform().keyCharacters().characters(uint16_t(code), flags);
}

TransientKeyTap::TransientKeyTap(bool consuming, bool watchKeyUp, uint64_t alsoWatch, platform::KeyGrab keys)
    : m_consuming(consuming)
    , m_watchKeyUp(watchKeyUp)
    , m_alsoWatch(alsoWatch)
    , m_keys(std::move(keys))
{
}

TransientKeyTap::~TransientKeyTap()
{
    disarm();
}

void TransientKeyTap::arm()
{
    if (m_tap)
        return;
    auto& p = platform::platform();
    const auto handler = [this](const platform::KeyEvent& event) { return handle(event); };
    if (m_consuming)
        m_tap = p.keyInterceptor().arm(m_keys, handler);
    else
        m_tap = p.keyEvents().addListener(handler);
    if (!m_tap)
        return;
    if (m_alsoWatch & scrollWheelMask) {
        m_scroll = p.pointer().addScrollMonitor([this](int) {
            handle(platform::KeyEvent{platform::KeyEvent::Type::scrollWheel, -1, 0, false});
        });
    }
}

void TransientKeyTap::disarm()
{
    auto& p = platform::platform();
    if (m_tap) {
        if (m_consuming)
            p.keyInterceptor().disarm(*m_tap);
        else
            p.keyEvents().removeListener(*m_tap);
    }
    if (m_scroll)
        p.pointer().removeScrollMonitor(*m_scroll);
    m_tap.reset();
    m_scroll.reset();
}

bool TransientKeyTap::handle(const platform::KeyEvent& event)
{
    using Type = platform::KeyEvent::Type;
    if (event.type == Type::flagsChanged || (event.type == Type::keyUp && !m_watchKeyUp))
        return false;
    if (platform::platform().keySynth().isOwn(event))
        return false;
    const bool isKey = event.type == Type::keyDown || event.type == Type::keyUp;
    const KeyEvent keyEvent{isKey ? event.keyCode : -1, event.flags, event.type == Type::keyUp,
                            event.isRepeat, event};
    const bool answer = onKey && onKey(keyEvent);
    return m_consuming && answer && event.type == Type::keyDown;
}

} // namespace quillon
