#pragma once

#include "input/Leader.h"
#include "platform/KeyFlags.h"

#include <QChar>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

namespace quillon {

/// Decides, for one key press, whether it belongs to the held leader (handed
/// to a consumer and swallowed) or passes to the focused application.
struct KeyTapLogic {
    using Handler = std::function<bool(Leader, QChar)>;

    /// The leader currently held.
    std::optional<Leader> leader;
    /// Key codes whose press was swallowed and whose release is still to come.
    std::set<uint16_t> consumedKeys;

    /// The leader that a modifier state makes: right Command (with Option:
    /// the feature leader), else right Option. Left-hand keys never lead.
    static std::optional<Leader> leaderFrom(platform::EventFlags flags);

    /// Takes the leader of a new modifier state. True when the held leader
    /// changed (the caller then tells its listeners).
    bool handleFlags(platform::EventFlags flags);

    /// A key press with the modifiers held. True = swallow it. `handler` is
    /// the consumer (empty: none); it answers whether it took the key.
    bool keyDown(uint16_t keyCode, platform::EventFlags flags, const Handler& handler);

    /// A key release. True = swallow it: the release of a swallowed press is
    /// swallowed too, so the focused application never sees half a stroke.
    bool keyUp(uint16_t keyCode);

    /// Key events need looking at only while a leader is held or a swallowed
    /// key is still down.
    bool isNeeded() const { return leader.has_value() || !consumedKeys.empty(); }

private:
    std::optional<QChar> character(uint16_t keyCode) const;
};

} // namespace quillon
