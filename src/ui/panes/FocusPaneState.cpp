#include "ui/panes/FocusPaneState.h"

#include "app/SettingsPane.h"
#include "input/FeatureChords.h"

namespace quillon {

FocusPaneState FocusPaneState::read(bool compositorRunning)
{
    FocusPaneState state;
    state.sections = {QStringLiteral("Dimming"), QStringLiteral("Shortcut")};
    state.showsCompositorWarning = !compositorRunning;
    state.chords = FeatureChords::chords(SettingsPane::focus);
    return state;
}

} // namespace quillon
