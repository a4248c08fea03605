#pragma once

#include "app/SettingsPane.h"

#include <QWidget>

namespace quillon {

class PaneView;
class SettingsModel;

/// The settings window's detail area: the view of one pane, with the small
/// control font every pane shares. The window makes a new one for each
/// selection, so a pane's local state starts fresh every time.
class SettingsPaneView final : public QWidget {
    Q_OBJECT

public:
    SettingsPaneView(SettingsModel& model, SettingsPane pane, QWidget* parent = nullptr);

    SettingsPane pane() const { return m_pane; }
    PaneView& paneView() const { return *m_view; }

    /// The pixel size of the panes' control font.
    static constexpr int controlFontPixels = 12;

private:
    static PaneView* makePane(SettingsModel& model, SettingsPane pane);

    SettingsPane m_pane;
    PaneView* m_view = nullptr;
};

} // namespace quillon
