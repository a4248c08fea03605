#pragma once

#include <QString>

namespace quillon {

/// How durations and hold delays are worded in the menus and panes.
class TimeText {
public:
    TimeText() = delete;

    /// "1 hour", "2 hours" for whole hours past 59; otherwise "<m> minutes"
    /// (there is no singular: "1 minutes").
    static QString minutes(int minutes);
    /// "0.5 seconds" below a second, else whole seconds: "1 second", "3 seconds".
    static QString delay(double seconds);
    /// "Instant", "200 ms", "1 second", "2 seconds".
    static QString holdDelay(double seconds);
    /// "as soon as you hold it" or "after 200 ms of holding".
    static QString holdDelayPhrase(double seconds);
};

} // namespace quillon
