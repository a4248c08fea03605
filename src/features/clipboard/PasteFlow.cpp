#include "features/clipboard/PasteFlow.h"

#include "input/KeyCodes.h"

#include <algorithm>

namespace quillon {

namespace {

using A = PasteFlow::ActionType;
using P = PasteFlow::Phase;

PasteFlow::Result keep(PasteFlow::State s, bool swallow, std::vector<PasteFlow::Action> actions = {})
{
    return {s, std::move(actions), swallow};
}

PasteFlow::Result pasteKey(PasteFlow::State s, const PasteFlow::Event& e)
{
    namespace F = platform::KeyFlags;
    if (e.code != PasteFlow::vKey)
        return keep(s, false);
    switch (s.phase) {
    case P::idle: {
        if (e.isKeyUp)
            return keep(s, false);
        const auto mods = e.flags & (F::command | F::option | F::control | F::shift);
        if (mods != F::command)
            return keep(s, false);
        if (e.isRepeat)
            return keep(s, true);
        return {{P::holding, 0}, {{A::prepare}, {A::armHold}}, true};
    }
    case P::holding:
        if (e.isKeyUp)
            return {{}, {{A::passThrough}}, true};
        return keep(s, true);
    case P::menu:
        // The menu's own tap swallows V while the menu is open.
        return keep(s, false);
    }
    return keep(s, false);
}

PasteFlow::Result menuKey(PasteFlow::State s, const PasteFlow::Event& e, int count)
{
    if (s.phase != P::menu)
        return keep(s, false);
    const int code = e.code;
    const int d = PasteFlow::digit(code);
    const auto taken = PasteFlow::menuKeys();
    if (std::find(taken.begin(), taken.end(), code) == taken.end())
        return keep(s, false);
    if (e.isKeyUp || code == PasteFlow::vKey)
        return keep(s, true);
    switch (code) {
    case PasteFlow::returnKey:
    case PasteFlow::enterKey:
        return {{}, {{A::paste, s.highlighted}}, true};
    case PasteFlow::graveKey:
        return keep(s, true, {{A::otherTab}});
    case PasteFlow::leftKey:
        return keep(s, true, {{A::recentTab}});
    case PasteFlow::rightKey:
        return keep(s, true, {{A::pinsTab}});
    case PasteFlow::downKey: {
        const int h = std::max(1, std::min(count, s.highlighted + 1));
        return keep(PasteFlow::State::menu(h), true, {{A::highlight, h}});
    }
    case PasteFlow::upKey: {
        const int h = std::max(1, s.highlighted - 1);
        return keep(PasteFlow::State::menu(h), true, {{A::highlight, h}});
    }
    case PasteFlow::escapeKey:
        return {{}, {{A::dismiss}}, true};
    default:
        break;
    }
    if (d >= 1 && d <= count)
        return {{}, {{A::paste, d}}, true};
    return keep(s, true);
}

} // namespace

PasteFlow::Result PasteFlow::reduce(State s, const Event& e, int count)
{
    switch (e.type) {
    case EventType::pasteKey:
        return pasteKey(s, e);
    case EventType::menuKey:
        return menuKey(s, e, count);
    case EventType::commandUp:
        if (s.phase == P::holding)
            return {{}, {{A::passThrough}, {A::teardown}}, false};
        return keep(s, false, {{A::teardown}});
    case EventType::holdTimer:
        if (s.phase != P::holding)
            return keep(s, false);
        if (count > 0)
            return {State::menu(1), {{A::showMenu}}, false};
        return {{}, {{A::passThrough}}, false};
    case EventType::click:
        if (s.phase == P::menu && e.slot >= 1 && e.slot <= count)
            return {{}, {{A::paste, e.slot}}, false};
        return keep(s, false);
    case EventType::hover:
        if (s.phase == P::menu && e.slot >= 1 && e.slot <= count)
            return {State::menu(e.slot), {{A::highlight, e.slot}}, false};
        return keep(s, false);
    case EventType::outsideClick:
        if (s.phase == P::menu)
            return {{}, {{A::dismiss}}, false};
        return keep(s, false);
    case EventType::openMenu:
        if (count > 0)
            return {State::menu(1), {{A::showMenu}}, false};
        return keep(s, false);
    case EventType::deactivate:
        return {{}, {{A::dismiss}, {A::teardown}}, false};
    }
    return keep(s, false);
}

int PasteFlow::digit(int keyCode)
{
    if (keyCode < 0 || keyCode > 0xFFFF)
        return 0;
    const auto d = KeyCodes::digit(uint16_t(keyCode));
    return d ? d->digitValue() : 0;
}

std::vector<int> PasteFlow::menuKeys()
{
    std::vector<int> keys{returnKey, enterKey, graveKey, leftKey, rightKey, downKey, upKey, escapeKey, vKey};
    for (const auto& [code, ch] : KeyCodes::digitByKeyCode)
        if (ch.digitValue() >= 1)
            keys.push_back(code);
    return keys;
}

} // namespace quillon
