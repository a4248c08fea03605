#pragma once

#include <QSet>
#include <QString>
#include <optional>

namespace quillon {

/// Whether the moment is right for a break, from what is read at that moment.
namespace BreakPolicy {

enum class Decision { start, creditNatural, postponeTyping, postponeBusy };
QString rawValue(Decision decision);

/// Typing postponements allowed in one cycle.
inline constexpr int maxTypingDefers = 5;
/// Keyboard idle below which the person counts as typing, seconds.
inline constexpr double typingIdle = 3.0;

struct Readings {
    bool smart = false;
    /// Seconds since any input, and since a key went down.
    double idle = 0;
    double key = 0;
    /// Another process keeps the display awake.
    bool busy = false;
    /// The frontmost application's id; read only with excluded apps.
    std::optional<QString> front;
    QSet<QString> excluded;
    int typingDefers = 0;
    int breakSeconds = 0;
};

struct Outcome {
    Decision decision = Decision::start;
    /// For the log: "start — smart on, idle 42s, key 130s, busy no, front —, excluded 0, defers 0".
    QString summary;
};

/// First match wins: a pause as long as a break counts as one; then an
/// excluded app in front, another process keeping the display awake, and
/// typing (at most five times a cycle) postpone it.
Outcome decide(const Readings& readings);

} // namespace BreakPolicy

} // namespace quillon
