#include "ui/PaneView.h"

#include "ui/SettingsModel.h"

#include <QPointer>

namespace quillon {

PaneView::PaneView(SettingsModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
{
    connect(&model, &SettingsModel::changed, this, &PaneView::reload);
}

void PaneView::reload()
{
    // A control may rebuild its own children as it reloads (a letter badge):
    // those taken here are then gone, and skipped.
    QList<QPointer<QWidget>> children;
    for (QWidget* child : findChildren<QWidget*>())
        children << child;
    for (const QPointer<QWidget>& child : std::as_const(children)) {
        if (!child)
            continue;
        // A pane nested in this one reloads its own.
        if (dynamic_cast<PaneView*>(child.data()))
            continue;
        if (auto* control = dynamic_cast<Reloadable*>(child.data()))
            control->reload();
    }
}

} // namespace quillon
