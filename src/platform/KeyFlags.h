#pragma once

#include <cstdint>

namespace quillon::platform {

/// The modifier flag word of a key event. The bits are the system's own and
/// are independent of X11: Command is Ctrl, Option is Alt, Control is Super.
using EventFlags = uint64_t;

namespace KeyFlags {

inline constexpr EventFlags shift = 0x20000;
inline constexpr EventFlags control = 0x40000;
inline constexpr EventFlags option = 0x80000;
inline constexpr EventFlags command = 0x100000;

// Device-dependent bits: which hand's key is held.
inline constexpr EventFlags leftControl = 0x1;
inline constexpr EventFlags leftShift = 0x2;
inline constexpr EventFlags rightShift = 0x4;
inline constexpr EventFlags leftCommand = 0x8;
inline constexpr EventFlags rightCommand = 0x10;
inline constexpr EventFlags leftOption = 0x20;
inline constexpr EventFlags rightOption = 0x40;
inline constexpr EventFlags rightControl = 0x2000;

} // namespace KeyFlags
} // namespace quillon::platform
