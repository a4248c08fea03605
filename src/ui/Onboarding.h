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

} // namespace quillon
