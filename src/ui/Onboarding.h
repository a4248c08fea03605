#pragma once

#include "app/SettingsPane.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {

class SettingsModel;

/// The tour's order of steps and its progress wording. The tour's position
/// itself lives in the settings ("onboarding.index").
class Onboarding {
public:
    Onboarding() = delete;

    /// What a step's card asks of the person.
    enum class Ask { permission, nothing };

    /// Which card the tour shows.
    struct Card {
        enum class Kind { welcome, step, finale };
        Kind kind;
        std::optional<SettingsPane> pane;
        static Card welcome() { return {Kind::welcome, std::nullopt}; }
        static Card step(SettingsPane pane) { return {Kind::step, pane}; }
        static Card finale() { return {Kind::finale, std::nullopt}; }
        bool operator==(const Card&) const = default;
    };

    /// The feature needs Accessibility (for itself or a right-hand shortcut),
    /// screen capture (ocr) or file-manager automation (shelf).
    static bool needsPermission(SettingsPane pane);
    /// The tour's steps: the feature panes that need a permission first, then
    /// the rest, each group in the given order; the notch and the non-feature
    /// panes are left out.
    static std::vector<SettingsPane> steps(const std::vector<SettingsPane>& panes);
    static Ask ask(SettingsPane pane);
    /// The share of the tour shown as done at `index`, in 0…1.
    static double fraction(int index, int total);
    /// "Getting Started — 4 of 14".
    static QString menuLabel(int index, int total);
};

/// The permission a tour step asks for.
class OnboardingPermission {
public:
    OnboardingPermission() = delete;

    struct Need {
        QString title;
        QString reason;
        bool granted = false;
        /// None where nothing can be asked.
        std::function<void()> request;
        std::function<void()> open;
    };

    /// Read at the call; the pane redraws after a request through the model.
    static Need need(SettingsPane pane, SettingsModel& model);
};

/// What "Show me" does for a tour step: the feature's own surface, briefly.
class OnboardingDemo {
public:
    OnboardingDemo() = delete;

    struct Demo {
        /// Reaches the features through the model's bundle. Does nothing
        /// visible when its condition (notch on, a notch setting, the
        /// feature active) does not hold.
        std::function<void(SettingsModel&)> run;
        /// What to watch for, with key glyphs already in the names a person reads.
        QString watchFor;
        /// The demonstration works only while the feature is switched on.
        bool needsFeatureOn = false;
    };

    /// None for the panes the tour shows differently or not at all.
    static std::optional<Demo> demo(SettingsPane pane);

    /// Seconds a demonstration chip or hint row stays.
    static constexpr double chipDuration = 2.5;
};

} // namespace quillon
