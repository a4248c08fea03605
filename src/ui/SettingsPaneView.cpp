#include "ui/SettingsPaneView.h"

#include "ui/PlaceholderPane.h"
#include "ui/panes/AboutPane.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/ColorPickerPane.h"
#include "ui/panes/GeneralPane.h"
#include "ui/panes/NotchPane.h"
#include "ui/panes/OCRPane.h"
#include "ui/panes/ShelfPane.h"
#include "ui/tour/GettingStartedPane.h"

#include <QVBoxLayout>

namespace quillon {

SettingsPaneView::SettingsPaneView(SettingsModel& model, SettingsPane pane, QWidget* parent)
    : QWidget(parent)
    , m_pane(pane)
{
    QFont small = font();
    small.setPixelSize(controlFontPixels);
    setFont(small);
    m_view = makePane(model, pane);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->reload();
}

PaneView* SettingsPaneView::makePane(SettingsModel& model, SettingsPane pane)
{
    // Each pane's own view takes its case here as it is built.
    switch (pane) {
    case SettingsPane::general:
        return new GeneralPane(model);
    case SettingsPane::awake:
        return new AwakePane(model);
    case SettingsPane::breaks:
        return new BreaksPane(model);
    case SettingsPane::notch:
        return new NotchPane(model);
    case SettingsPane::shelf:
        return new ShelfPane(model);
    case SettingsPane::about:
        return new AboutPane(model);
    case SettingsPane::ocr:
        return new OCRPane(model);
    case SettingsPane::colorPicker:
        return new ColorPickerPane(model);
    case SettingsPane::gettingStarted:
        return new GettingStartedPane(model);
    case SettingsPane::snap:
    case SettingsPane::jump:
    case SettingsPane::clipboard:
    case SettingsPane::snippets:
    case SettingsPane::focus:
    case SettingsPane::swipe:
    case SettingsPane::sweep:
    case SettingsPane::autoQuit:
        return new PlaceholderPane(model, pane);
    }
    return new PlaceholderPane(model, pane);
}

} // namespace quillon
