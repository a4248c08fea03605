#pragma once

#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace quillon {

/// The wait for promised files: the receivers' reports and the time-out race,
/// and only the first to finish the wait delivers. Reports come from threads
/// of the receivers' own; the time-out from the main queue.
class PromiseWait {
public:
    /// `expected` reports finish the wait.
    explicit PromiseWait(int expected);

    /// A promised file reported, written to `path` or failed with `error`.
    /// True for the one report that finishes the wait.
    bool report(const QString& path, const std::optional<QString>& error);
    /// True when the time-out finishes the wait (no report has).
    bool timeOut();

    /// The files whose reports said they were written, in reporting order.
    QStringList received() const;

private:
    mutable std::mutex m_lock;
    int m_remaining;
    bool m_finished = false;
    QStringList m_received;
};

} // namespace quillon
