#pragma once

#include "app/Feature.h"
#include "app/SettingsPane.h"
#include "notch/NotchContent.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

namespace quillon {

class Settings;

/// One feature with the pane that switches it.
struct FeatureEntry {
    SettingsPane pane;
    Feature* feature;
};

/// Brings the features in line with their switches and the Accessibility
/// trust, and announces the changes. Remembers the last state it reported of
/// each feature (none at launch).
class FeatureRegistry {
public:
    using ShowChip = std::function<void(const NotchContent&)>;

    /// Whether the feature of this pane works only with Accessibility (key
    /// taps, window control).
    static bool needsAccessibility(SettingsPane pane);
    /// The pane's switch; the notch has none and is always on.
    static bool isEnabled(SettingsPane pane, const Settings& settings);
    /// Some switched-on feature needs Accessibility, for itself or for a
    /// right-hand leader shortcut.
    static bool needsAccessibilityNow(const Settings& settings);

    /// Calls activate() on every wanted feature and deactivate() on every
    /// other one, in list order, logging each change with its reason.
    static void walk(const std::vector<FeatureEntry>& features, const Settings& settings,
                     bool accessibilityGranted);

    /// Shows an on/off chip for each feature whose state changed since the
    /// last report (keep-awake and the notch show their own), while the
    /// notch is on. The first report only records.
    void reportToggles(const std::vector<FeatureEntry>& features, bool notchActive, const ShowChip& showChip);

    /// The chip of a feature switched on or off.
    static NotchContent toggleChip(SettingsPane pane, bool on);

private:
    QHash<QString, bool> m_featureStates;
};

} // namespace quillon
