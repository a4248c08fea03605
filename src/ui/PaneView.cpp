#include "ui/PaneView.h"

#include "ui/SettingsModel.h"

namespace quillon {

PaneView::PaneView(SettingsModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    connect(&model, &SettingsModel::changed, this, &PaneView::reload);
}

void PaneView::reload()
{
    for (QWidget* child : findChildren<QWidget*>()) {
        // A pane nested in this one reloads its own.
        if (dynamic_cast<PaneView*>(child))
            continue;
        if (auto* control = dynamic_cast<Reloadable*>(child))
            control->reload();
    }
}

} // namespace quillon
