#pragma once

#include "app/SettingsPane.h"
#include "ui/Onboarding.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {

class Settings;
class SettingsModel;

/// The live demonstration a tour step offers behind "Show me".
using TourDemo = OnboardingDemo::Demo;

/// The footer's buttons right of "Back".
enum class TourButton { skip, next, done };

/// The "Show me" row of a feature card.
struct TourDemoRow {
    bool enabled = false;
    QString text;
    /// Secondary while a demonstration's note shows, tertiary before.
    bool secondary = false;
    bool operator==(const TourDemoRow&) const = default;
};

/// What the tour shows at one stored position, and how it moves. Plain: the
/// position is "onboarding.index" (0 the welcome, 1…n the steps, n + 1 the
/// finale), read at every redraw; anything outside shows the nearer end.
struct TourState {
    Onboarding::Card card = Onboarding::Card::welcome();
    QString title;
    /// "k of m", or "Done" on the finale.
    QString counter;
    double progress = 0;
    bool backEnabled = false;
    std::vector<TourButton> buttons;

    /// The tour's steps: every feature pane in tour order (13).
    static const std::vector<SettingsPane>& steps();
    static TourState at(qint64 index, const std::vector<SettingsPane>& steps = TourState::steps());
    /// The position after moving `delta` from `index`, always in 0…n + 1.
    static int stepped(qint64 index, int delta, int stepCount = int(TourState::steps().size()));
    /// The stored position, read as the tour reads it.
    static qint64 storedIndex(const Settings& settings);
    /// Moves the stored position.
    static void step(Settings& settings, int delta, int stepCount = int(TourState::steps().size()));
    /// Ends the tour: the position goes to the finale, `dismissed` is stored,
    /// then `onFinished` runs when there is one.
    static void finish(Settings& settings, bool dismissed, const std::function<void()>& onFinished,
                       int stepCount = int(TourState::steps().size()));

    /// The "Show me" row of the card of the feature titled `title`.
    static TourDemoRow demoRow(const TourDemo& demo, const QString& title, bool featureOn,
                               const std::optional<QString>& note);
    /// The card of `pane` shows its permission block: it asks for one that
    /// is not granted.
    static bool showsPermissionBlock(SettingsPane pane, bool granted);
    /// The first of the pane's keys as a person reads it; empty without one.
    static QString firstKey(SettingsPane pane);
};

} // namespace quillon
