#include "shelf/ShelfKeys.h"

namespace quillon::ShelfKeys {

namespace {

Decision strip(bool visible, Action action)
{
    return visible ? Decision{true, action} : Decision{};
}

} // namespace

Decision decide(int code, platform::EventFlags flags, const State& state, double now)
{
    using namespace platform;
    if (!state.open || state.collapsing || state.draggingOut)
        return {};
    if (now - state.dragOutEndedAt < dragOutQuiet)
        return {};
    if (flags & (KeyFlags::control | KeyFlags::option))
        return {};
    if (!(flags & KeyFlags::command)) {
        switch (code) {
        case 1: // S
            return strip(state.airDropVisible, Action::airDrop);
        case 8: // C
            return strip(state.copyVisible, Action::copy);
        case 6: // Z
            return strip(state.zipVisible, Action::zip);
        case 49: // Space
            return {true, Action::quickLook};
        case 51: // Backspace, the Delete key of the table
            return {true, Action::removeSelection};
        case 53: // Escape
            return {true, state.previewVisible ? Action::closePreview : Action::collapse};
        default:
            return {};
        }
    }
    switch (code) {
    case 0: // A
        return {true, Action::selectAll};
    case 8: // C
        return {true, Action::copyFiles};
    case 7: // X
        return {true, Action::cutFiles};
    default:
        return {};
    }
}

} // namespace quillon::ShelfKeys
