#include "ui/panes/SwipePaneState.h"

#include "settings/Settings.h"

namespace quillon {

SwipePaneState SwipePaneState::read(const Settings& settings, bool accessibilityGranted)
{
    SwipePaneState state;
    state.showsGate = !accessibilityGranted;
    if (state.showsGate)
        state.sections << QStringLiteral("Needed to work");
    state.sections << QStringLiteral("Feedback");
    state.feedbackIndex = int(settings.spaceFeedback());
    return state;
}

} // namespace quillon
