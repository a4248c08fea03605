#include "app/FeatureRegistry.h"

#include "settings/Settings.h"
#include "support/Log.h"

namespace quillon {

bool FeatureRegistry::needsAccessibility(SettingsPane pane)
{
    switch (pane) {
    case SettingsPane::snap:
    case SettingsPane::jump:
    case SettingsPane::clipboard:
    case SettingsPane::snippets:
    case SettingsPane::swipe:
    case SettingsPane::sweep:
        return true;
    default:
        return false;
    }
}

bool FeatureRegistry::isEnabled(SettingsPane pane, const Settings& settings)
{
    const auto path = pane.enabledKeyPath();
    return path ? path->get(settings) : pane == SettingsPane::notch;
}

bool FeatureRegistry::needsAccessibilityNow(const Settings& settings)
{
    for (const SettingsPane pane : SettingsPane::features()) {
        const auto path = pane.enabledKeyPath();
        if (!path || !path->get(settings))
            continue;
        if (needsAccessibility(pane) || pane.needsAccessibilityToTrigger())
            return true;
    }
    return false;
}

void FeatureRegistry::walk(const std::vector<FeatureEntry>& features, const Settings& settings,
                           bool accessibilityGranted)
{
    for (const auto& entry : features) {
        const auto& pane = entry.pane;
        const auto& feature = entry.feature;
        const bool enabled = isEnabled(pane, settings);
        const bool wanted = enabled && (!needsAccessibility(pane) || accessibilityGranted);
        if (wanted != feature->isActive()) {
            const QString label = pane.title(); // clang 14 cannot capture a structured binding
            Log::debug([&] {
                if (wanted)
                    return QStringLiteral("Feature %1: ON").arg(label);
                return QStringLiteral("Feature %1: OFF \u2014 %2")
                    .arg(label,
                         enabled ? QStringLiteral("needs Accessibility") : QStringLiteral("switched off"));
            });
        }
        if (wanted)
            feature->activate();
        else
            feature->deactivate();
    }
}

void FeatureRegistry::reportToggles(const std::vector<FeatureEntry>& features, bool notchActive,
                                    const ShowChip& showChip)
{
    for (const auto& [pane, feature] : features) {
        if (pane == SettingsPane::awake || pane == SettingsPane::notch)
            continue;
        const bool now = feature->isActive();
        const QString label = pane.title();
        const auto before = m_featureStates.constFind(label);
        if (before != m_featureStates.constEnd() && *before != now && notchActive)
            showChip(toggleChip(pane, now));
        m_featureStates.insert(label, now);
    }
}

NotchContent FeatureRegistry::toggleChip(SettingsPane pane, bool on)
{
    NotchBarItem icon;
    icon.icon = pane.icon();
    NotchBarItem state;
    state.text = on ? QStringLiteral("On") : QStringLiteral("Off");
    state.value = true;
    state.accentDot = on;
    NotchContent content;
    content.left = {icon};
    content.right = {state};
    content.caption = pane.title();
    return content;
}

} // namespace quillon
