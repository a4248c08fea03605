#pragma once

#include "app/SettingsPane.h"
#include "ui/PaneView.h"

namespace quillon {

/// What a pane shows until it has its own view: a feature pane its header
/// (with the switch) and its shortcuts under "How it works"; Getting
/// Started, General and About their title and blurb.
class PlaceholderPane final : public PaneView {
    Q_OBJECT

public:
    PlaceholderPane(SettingsModel& model, SettingsPane pane, QWidget* parent = nullptr);
};

} // namespace quillon
