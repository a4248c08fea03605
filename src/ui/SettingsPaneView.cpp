#include "ui/SettingsPaneView.h"

#include "ui/PlaceholderPane.h"
#include "ui/panes/AboutPane.h"
#include "ui/panes/AutoQuitPane.h"
#include "ui/panes/AwakePane.h"
#include "ui/panes/BreaksPane.h"
#include "ui/panes/ClipboardPane.h"
#include "ui/panes/ColorPickerPane.h"
#include "ui/panes/FocusPane.h"
#include "ui/panes/GeneralPane.h"
#include "ui/panes/JumpPane.h"
#include "ui/panes/NotchPane.h"
#include "ui/panes/OCRPane.h"
#include "ui/panes/ShelfPane.h"
#include "ui/panes/SnapPane.h"
#include "ui/panes/SnippetsPane.h"
#include "ui/panes/SweepPane.h"
#include "ui/panes/SwipePane.h"
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
    // Every pane has its view; a value outside the list still gets a page.
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
    case SettingsPane::clipboard:
        return new ClipboardPane(model);
    case SettingsPane::snippets:
        return new SnippetsPane(model);
    case SettingsPane::sweep:
        return new SweepPane(model);
    case SettingsPane::autoQuit:
        return new AutoQuitPane(model);
    case SettingsPane::swipe:
        return new SwipePane(model);
    case SettingsPane::focus:
        return new FocusPane(model);
    case SettingsPane::snap:
        return new SnapPane(model);
    case SettingsPane::jump:
        return new JumpPane(model);
    case SettingsPane::gettingStarted:
        return new GettingStartedPane(model);
    case SettingsPane::colorPicker:
        return new ColorPickerPane(model);
    case SettingsPane::ocr:
        return new OCRPane(model);
    case SettingsPane::about:
        return new AboutPane(model);
    }
    return new PlaceholderPane(model, pane);
}

} // namespace quillon
