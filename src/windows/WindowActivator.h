#pragma once

#include "platform/WindowServer.h"

#include <QString>
#include <optional>
#include <vector>

namespace quillon {

/// Letters for the windows of an application, taken from their titles, and
/// raising the window a letter names.
class WindowActivator {
public:
    struct Hint {
        /// One character (a grapheme cluster), lowercase.
        QString initial;
        QString name;
        bool operator==(const Hint&) const = default;
    };

    /// One hint per initial, in window order (a later window with an initial
    /// already taken gets none).
    static std::vector<Hint> titleHints(int32_t pid);
    /// Raises the window after the application's current main window among
    /// those whose initial is `titleInitial`, so pressing the letter again
    /// walks through them; then activates the application.
    static void raiseWindow(int32_t pid, const QString& titleInitial);

    /// The last dash-separated segment of a title that begins with a letter;
    /// the trimmed title when there is none.
    static QString hintSegment(const QString& title);
    /// The first letter of the lowercased segment, else its first character;
    /// none for an empty segment.
    static std::optional<QString> initial(const QString& title);
    /// The segment, cut to 9 characters and "…" when it has 11 or more.
    static QString hintName(const QString& segment);
};

} // namespace quillon
