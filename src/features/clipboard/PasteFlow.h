#pragma once

#include "platform/KeyFlags.h"

#include <vector>

namespace quillon {

/// The hold-Ctrl+V flow as a pure function: a state, an event and the number
/// of prepared entries give the next state, what to do and whether the key
/// is swallowed. It reads nothing, so a key handler can answer from it while
/// the keyboard waits.
struct PasteFlow {
    enum class Phase { idle, holding, menu };
    struct State {
        Phase phase = Phase::idle;
        /// The highlighted 1-based slot while the menu is open, else 0.
        int highlighted = 0;
        bool operator==(const State&) const = default;
        static State menu(int slot) { return {Phase::menu, slot}; }
    };

    enum class ActionType {
        none,
        highlight,
        paste,
        /// Read the clipboard into the entries (queued, never in the handler).
        prepare,
        armHold,
        passThrough,
        showMenu,
        dismiss,
        otherTab,
        recentTab,
        pinsTab,
        /// Disarm the Ctrl-held taps and cancel the hold timer.
        teardown,
    };
    struct Action {
        ActionType type = ActionType::none;
        int slot = 0;
        bool operator==(const Action&) const = default;
    };

    enum class EventType {
        /// A key heard by the paste tap (Ctrl+V).
        pasteKey,
        /// A key heard by the open menu's tap.
        menuKey,
        commandUp,
        holdTimer,
        click,
        hover,
        outsideClick,
        /// The menu asked for without a held Ctrl+V, entries already prepared.
        openMenu,
        deactivate,
    };
    struct Event {
        EventType type = EventType::pasteKey;
        int code = -1;
        platform::EventFlags flags = 0;
        bool isKeyUp = false;
        bool isRepeat = false;
        int slot = 0;
    };

    struct Result {
        State state;
        std::vector<Action> actions;
        bool swallow = false;
    };

    static Result reduce(State state, const Event& event, int entryCount);

    /// The slot of a main-row digit key, 0 for every other key.
    static int digit(int keyCode);

    static constexpr int vKey = 9;
    static constexpr int returnKey = 36;
    static constexpr int enterKey = 76;
    static constexpr int graveKey = 50;
    static constexpr int escapeKey = 53;
    static constexpr int leftKey = 123;
    static constexpr int rightKey = 124;
    static constexpr int downKey = 125;
    static constexpr int upKey = 126;
    /// The keys the open menu takes over.
    static std::vector<int> menuKeys();
};

} // namespace quillon
