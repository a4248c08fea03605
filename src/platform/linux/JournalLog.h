#pragma once

#include "platform/SystemLog.h"

namespace quillon::platform::linux_ {

/// The systemd journal, with the category as a field of its own; standard
/// error where no journal runs.
class JournalLog final : public SystemLog {
public:
    JournalLog();
    void write(LogLevel level, const QString& category, const QString& message) override;

private:
    bool m_journal = false;
};

} // namespace quillon::platform::linux_
