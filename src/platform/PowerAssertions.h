#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

namespace quillon::platform {

/// What a keep-awake assertion holds off.
enum class PowerAssertionKind {
    /// The display stays on and the computer awake.
    keepDisplayOn,
    /// The computer stays awake; the display may sleep.
    allowDisplaySleep,
};

/// Holds off idle sleep. Main thread.
class PowerAssertions {
public:
    using Handle = uint64_t;
    /// A refused creation: a code of the implementation's, for the log.
    struct Refusal {
        int code = 0;
    };

    virtual ~PowerAssertions() = default;
    /// A new assertion of that kind, or why not.
    virtual std::variant<Handle, Refusal> create(PowerAssertionKind kind, const QString& reason) = 0;
    /// Ends an assertion made by create(); an unknown handle does nothing.
    virtual void release(Handle handle) = 0;

    /// Whether another process keeps the display awake, from the last
    /// reading: false before any, and after a failed one. Never waits.
    virtual bool othersPreventDisplaySleep() = 0;
    /// Reads that anew in the background; the answer replaces the last
    /// reading when it comes.
    virtual void refreshOthers() = 0;
};

} // namespace quillon::platform
