#pragma once

#include "platform/WindowServer.h"

#include <optional>
#include <vector>

namespace quillon {

enum class WindowListOption { all, onScreenOnly };

/// The window server's list, front to back, without the desktop and its
/// icons; none when it cannot be read. Safe off the main thread.
std::optional<std::vector<platform::WindowEntry>> windowList(WindowListOption option);

} // namespace quillon
