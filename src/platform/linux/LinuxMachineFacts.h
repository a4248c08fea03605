#pragma once

#include "platform/MachineFacts.h"

namespace quillon::platform::linux_ {

/// Reads the firmware's product name (DMI), the processor count and the
/// memory size of this computer.
MachineFacts readMachineFacts();

} // namespace quillon::platform::linux_
