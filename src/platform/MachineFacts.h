#pragma once

#include <QString>

namespace quillon::platform {

/// What the computer is, for the debug file's session headers.
struct MachineFacts {
    /// Vendor and product name; empty when the firmware does not say.
    QString model;
    /// "x86_64", "arm64", …
    QString architecture;
    int cores = 0;
    qint64 memoryBytes = 0;
};

} // namespace quillon::platform
