#pragma once

#include "ui/Reloadable.h"

#include <QWidget>

namespace quillon {

class SettingsModel;

/// The base of every settings pane. A pane builds its widgets once, in its
/// constructor; reload() then shows the stored values, once when the pane is
/// hosted and again on each change of the model. It is the only way a pane
/// learns of a change, and it never writes a setting.
///
/// A pane keeps no state of its own beyond hover, drag, sheet and search
/// fields: every value it shows is read again here.
class PaneView : public QWidget, public Reloadable {
    Q_OBJECT

public:
    explicit PaneView(SettingsModel& model, QWidget* parent = nullptr);

    SettingsModel& model() const { return m_model; }
    /// Reloads every bound control inside the pane (switches and the like);
    /// panes that show more extend it and call this too.
    void reload() override;

private:
    SettingsModel& m_model;
};

} // namespace quillon
