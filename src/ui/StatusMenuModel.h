#pragma once

#include <QDateTime>
#include <QKeySequence>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <optional>
#include <vector>

namespace quillon {

/// The tray menu as plain data: what it lists for a given set of answers.
/// The menu itself is rebuilt from these entries each time it opens.
class StatusMenuModel {
public:
    StatusMenuModel() = delete;

    enum class Action {
        none,
        resumeWalkthrough,
        toggleAwake,
        openSettings,
        checkForUpdates,
        quit,
        setIndefinite,
        /// Stores `Entry::tag` minutes.
        setDuration,
        pickCustomDuration,
        toggleDisplaySleep,
    };

    struct Entry {
        bool separator = false;
        QString title;
        Action action = Action::none;
        /// The minutes of a duration row.
        int tag = 0;
        /// Shown with a check mark.
        std::optional<bool> checked;
        bool enabled = true;
        QKeySequence shortcut;
        /// The fraction of the progress image beside the tour line.
        std::optional<double> progress;
        /// Entries of the submenu this entry opens.
        std::vector<Entry> submenu;

        static Entry line();
        bool operator==(const Entry&) const = default;
    };

    struct WalkthroughProgress {
        int index = 0;
        int total = 0;
        bool operator==(const WalkthroughProgress&) const = default;
    };
    struct AwakeSession {
        std::optional<QDateTime> endsAt;
        std::optional<QString> trigger;
    };

    /// What the menu shows, asked once per opening.
    struct Answers {
        std::optional<WalkthroughProgress> walkthrough;
        std::optional<AwakeSession> session;
        /// Minutes; 0 is no time limit.
        int duration = 0;
        bool allowsDisplaySleep = false;
        bool canCheckForUpdates = false;
        QDateTime now;
        QLocale locale;
        QTimeZone timeZone;
    };

    /// The size of the tour line's progress image, in points.
    static constexpr int progressWidth = 34;
    static constexpr int progressHeight = 8;

    static std::vector<Entry> build(const Answers& answers);
    /// The Keep Awake submenu alone.
    static std::vector<Entry> awakeSubmenu(const Answers& answers);
};

} // namespace quillon
