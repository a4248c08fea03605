#include "features/snap/SnapHotKeys.h"

#include "input/HotKeyWatcher.h"
#include "platform/HotKeys.h"

namespace quillon {

namespace {

using namespace platform::HotKeyModifiers;
constexpr uint32_t controlOption = controlKey | optionKey;
constexpr uint32_t controlOptionCommand = controlOption | cmdKey;

} // namespace

const std::array<SnapHotKeys::Binding, 18> SnapHotKeys::bindings{{
    {SnapPosition::leftHalf, 123, controlOption},
    {SnapPosition::rightHalf, 124, controlOption},
    {SnapPosition::topHalf, 126, controlOption},
    {SnapPosition::bottomHalf, 125, controlOption},
    {SnapPosition::topLeft, 32, controlOption},
    {SnapPosition::topRight, 34, controlOption},
    {SnapPosition::bottomLeft, 38, controlOption},
    {SnapPosition::bottomRight, 40, controlOption},
    {SnapPosition::leftThird, 2, controlOption},
    {SnapPosition::centerThird, 3, controlOption},
    {SnapPosition::rightThird, 5, controlOption},
    {SnapPosition::leftTwoThirds, 14, controlOption},
    {SnapPosition::rightTwoThirds, 17, controlOption},
    {SnapPosition::maximize, 36, controlOption},
    {SnapPosition::center, 8, controlOption},
    {SnapPosition::restore, 51, controlOption},
    {SnapPosition::nextDisplay, 124, controlOptionCommand},
    {SnapPosition::previousDisplay, 123, controlOptionCommand},
}};

SnapHotKeys::SnapHotKeys(HotKeyWatcher& hotKeys)
    : m_hotKeys(hotKeys)
{
}

SnapHotKeys::~SnapHotKeys()
{
    unregisterAll();
}

void SnapHotKeys::registerAll()
{
    if (!m_ids.empty())
        return;
    for (const Binding& binding : bindings) {
        const SnapPosition position = binding.position;
        // Unregistering removes the action, so it never outlives this object.
        const auto id = m_hotKeys.registerHotKey(binding.keyCode, binding.modifiers, [this, position] {
            if (onSnap)
                onSnap(position);
        });
        if (id)
            m_ids.push_back(*id);
    }
}

void SnapHotKeys::unregisterAll()
{
    for (const uint32_t id : m_ids)
        m_hotKeys.unregister(id);
    m_ids.clear();
}

} // namespace quillon
