#pragma once

#include "platform/PowerAssertions.h"

#include <QString>
#include <optional>

namespace quillon {

/// Holds at most one keep-awake assertion and swaps it for another kind
/// without a gap: the new one is made before the old one is released.
class SleepAssertion {
public:
    using Kind = platform::PowerAssertionKind;

    SleepAssertion() = default;
    ~SleepAssertion();
    SleepAssertion(const SleepAssertion&) = delete;
    SleepAssertion& operator=(const SleepAssertion&) = delete;

    /// Makes sure an assertion of that kind is held; false (logged) when it
    /// cannot be made, leaving the one held before unchanged.
    bool acquire(Kind kind, const QString& reason);
    /// Releases the held assertion, if any.
    void release();

    std::optional<Kind> kind() const { return m_kind; }

private:
    std::optional<Kind> m_kind;
    platform::PowerAssertions::Handle m_id = 0;
};

} // namespace quillon
