#pragma once

#include <QString>

namespace quillon::platform {

enum class LogLevel { Debug, Info, Error };

/// The system log (the journal on Linux).
class SystemLog {
public:
    virtual ~SystemLog() = default;
    virtual void write(LogLevel level, const QString& category, const QString& message) = 0;
};

} // namespace quillon::platform
