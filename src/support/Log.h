#pragma once

#include <QString>
#include <type_traits>

namespace quillon {

/// The one logging call of every part of the system. Messages are passed as
/// callables, so nothing is built while diagnostics are off.
class Log {
public:
    /// Mirrors the "diagnostics.logging" setting; only the application
    /// delegate writes it.
    static inline bool isDebugEnabled = false;

    template <typename F>
        requires std::is_invocable_v<F>
    static void debug(F&& make)
    {
        if (!isDebugEnabled)
            return;
        writeDebug(QString(make()));
    }
    /// For fixed texts.
    static void debug(const char* text)
    {
        if (!isDebugEnabled)
            return;
        writeDebug(QString::fromUtf8(text));
    }

    /// A session header line in the debug file (while diagnostics are on).
    template <typename F>
        requires std::is_invocable_v<F>
    static void session(F&& make)
    {
        if (!isDebugEnabled)
            return;
        writeSession(QString(make()));
    }

    /// Entries people may look for later (what was quit and why) go to the
    /// system log whatever the switch.
    static void info(const QString& message);
    /// Errors go to the system log whatever the switch.
    static void error(const QString& message);

private:
    static void writeDebug(const QString& message);
    static void writeSession(const QString& text);
};

} // namespace quillon
