#pragma once

#include "features/snap/SnapPosition.h"
#include "ui/PaneView.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quillon {

class ChoiceBox;
class FormSection;
class PermissionGate;
class Settings;
class WarningRow;

/// One shortcut section as the pane shows it.
struct SnapGroupShown {
    /// The group's place in `SnapShortcut::groups()`.
    std::size_t group = 0;
    QString header;
    bool operator==(const SnapGroupShown&) const = default;
};

/// What the Snap pane shows besides its switches.
struct SnapPaneState {
    /// The edge-tiling warning: snapping on drag is on and the window manager
    /// tiles by itself.
    bool showsTilingWarning = false;
    /// The stored hold delay in milliseconds when it is one of the choices.
    std::optional<int> selectedDelayMs;
    /// The shortcut sections kept, in order.
    std::vector<SnapGroupShown> groups;
};

/// The pane of window snapping: the permission it needs, the ways of
/// snapping, the hold delay, and every shortcut as a row that snaps the
/// window of the application the person came from.
class SnapPane final : public PaneView {
    Q_OBJECT

public:
    explicit SnapPane(SettingsModel& model, QWidget* parent = nullptr);

    /// The hold-delay choices in milliseconds (0 to 1 second).
    static constexpr std::array<int, 6> holdDelayChoicesMs{0, 100, 200, 350, 600, 1000};
    /// What the first kept section's header ends with.
    static constexpr const char* clickHint = " — click a row to snap now";

    /// `tilingEnabled` is asked only while snapping on drag is on.
    static SnapPaneState state(const Settings& settings, int screenCount,
                               const std::function<bool()>& tilingEnabled);
    /// The state now, with the platform's screens.
    SnapPaneState currentState() const;

    /// Whether the window manager's own edge tiling is on; replaced by tests.
    std::function<bool()> edgeTilingEnabled;
    /// Snaps the focused window of `pid` (of the front application for
    /// none); replaced by tests.
    std::function<void(SnapPosition, std::optional<int32_t>)> snapNow;
    /// A row's click: the window of the application the person came from.
    void snapTarget(SnapPosition position);

    void reload() override;

    ChoiceBox* holdDelayBox() const { return m_delay; }
    WarningRow* tilingWarning() const { return m_warning; }
    PermissionGate* gate() const { return m_gate; }
    /// One section per group of `SnapShortcut::groups()`, shown or not.
    QList<FormSection*> groupSections() const { return m_groups; }
    /// Every section in order, shown or not.
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    QList<FormSection*> m_groups;
    PermissionGate* m_gate = nullptr;
    ChoiceBox* m_delay = nullptr;
    WarningRow* m_warning = nullptr;
};

} // namespace quillon
