#pragma once

#include "platform/KeyEvents.h"

#include <cstdint>

namespace quillon::platform {

/// Synthetic key strokes, and telling our own strokes apart from everybody
/// else's when they come back through a key tap.
class KeySynth {
public:
    virtual ~KeySynth() = default;

    /// Posts one stroke to the focused window: the key's press and its
    /// release, with exactly these modifier flags held. Modifier keys the
    /// person holds are let go around the stroke and pressed again after it
    /// while they are still held. Both halves or nothing: false when nothing
    /// was posted (no such key, no synthetic input in this session).
    virtual bool post(uint16_t keyCode, EventFlags flags) = 0;

    /// Whether a key event is the press or release of a stroke this process
    /// posted. Asking about the same event again gives the same answer.
    virtual bool isOwn(const KeyEvent& event) = 0;
};

} // namespace quillon::platform
