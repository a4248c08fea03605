#include "input/ModifierWatcher.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

ModifierWatcher::~ModifierWatcher()
{
    stop();
}

void ModifierWatcher::add(const void* owner, Handler handler)
{
    m_handlers.set(owner, std::move(handler));
    start();
}

void ModifierWatcher::remove(const void* owner)
{
    m_handlers.remove(owner);
    if (m_handlers.empty())
        stop();
}

void ModifierWatcher::start()
{
    if (m_tap)
        return;
    m_tap = platform::platform().keyEvents().addListener([this](const platform::KeyEvent& event) {
        // A synthetic stroke of ours lets go of the person's modifiers and
        // presses them again: that is not the person's doing.
        if (event.type == platform::KeyEvent::Type::flagsChanged &&
            !platform::platform().keySynth().isOwn(event))
            m_handlers.notify(event.flags);
    });
    // The handlers stay: a later add() tries again.
    if (!m_tap)
        Log::error(
            QStringLiteral("ModifierWatcher: could not create flags tap (no X11 session with XInput 2.2?)"));
}

void ModifierWatcher::stop()
{
    if (!m_tap)
        return;
    platform::platform().keyEvents().removeListener(*m_tap);
    m_tap.reset();
}

} // namespace quillon
