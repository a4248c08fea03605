#include "ui/panes/FocusPane.h"

#include "platform/OverlayWindows.h"
#include "platform/Platform.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/FocusDimRow.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"

#include <QPointer>
#include <QVBoxLayout>

namespace quillon {

FocusPaneState FocusPane::currentState()
{
    return FocusPaneState::read(platform::platform().overlayWindows().translucent());
}

FocusPane::FocusPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::focus,
        helpRows({
            {"It follows you",
             "switch apps and the dim moves with you; every display dims below its own front window"},
            {"Never in the way", "the dimmed layer takes no clicks and no keys — everything behind it stays usable, "
                                 "and Quillon's own screen captures leave it out"},
            {"What stays bright", "the app you're working in, plus windows kept above everything — "
                                  "picture-in-picture players, tool palettes. Panels are never dimmed."},
        })));

    auto* dimming = new FormSection(QStringLiteral("Dimming"));
    m_compositorWarning = new WarningRow(QStringLiteral(
        "Focus dimming needs a compositing window manager — none is running, so nothing is dimmed."));
    dimming->addRow(m_compositorWarning);
    // Made once: a redraw keeps the same row, so a drag under way survives it.
    m_dimRow = new FocusDimRow(model);
    dimming->addRow(m_dimRow);
    m_sections << dimming;
    m_sections << shortcutSection(SettingsPane::focus, QStringLiteral("Toggle Focus"));

    placeForm(*this, form, m_sections);

    // A compositor starting or stopping is no settings change: ask for a redraw.
    QPointer<SettingsModel> weakModel(&model);
    m_compositorToken = platform::platform().overlayWindows().addCompositorHandler([weakModel] {
        if (weakModel)
            weakModel->refresh();
    });
}

FocusPane::~FocusPane()
{
    if (m_compositorToken)
        platform::platform().overlayWindows().removeCompositorHandler(*m_compositorToken);
}

void FocusPane::reload()
{
    PaneView::reload();
    m_compositorWarning->setVisible(currentState().showsCompositorWarning);
}

} // namespace quillon
