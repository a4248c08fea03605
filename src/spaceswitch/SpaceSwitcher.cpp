#include "spaceswitch/SpaceSwitcher.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>

namespace quillon {

namespace {

// One set of Spaces spans every display, so a position in a display's list
// is the window manager's desktop index.
bool switchTo(int index)
{
    if (platform::platform().spaces().switchTo(index))
        return true;
    Log::debug(
        [&] { return QStringLiteral("Space switch: switching to workspace %1 failed").arg(index + 1); });
    return false;
}

} // namespace

void SpaceSwitcher::setPredicting(bool predicting)
{
    if (!predicting)
        m_predictions.reset();
    else if (!m_predictions)
        m_predictions.emplace();
}

void SpaceSwitcher::resetPredictions()
{
    if (m_predictions)
        m_predictions->clear();
}

std::optional<int> SpaceSwitcher::prediction(const QString& display) const
{
    if (!m_predictions)
        return std::nullopt;
    const auto it = m_predictions->find(display);
    if (it == m_predictions->end())
        return std::nullopt;
    return it->second.index;
}

const SpaceSwitcher::Prediction* SpaceSwitcher::validPrediction(const QString& key, int current) const
{
    if (!m_predictions)
        return nullptr;
    const auto it = m_predictions->find(key);
    if (it == m_predictions->end())
        return nullptr;
    // A switch is made to an absolute Space, so a prediction the window
    // manager has moved away from (a switch by keyboard, by the pager) would
    // send the next swipe somewhere unrelated.
    const Prediction& p = it->second;
    if (current < std::min(p.from, p.index) || current > std::max(p.from, p.index))
        return nullptr;
    return &p;
}

std::optional<SpaceSwitcher::SwipeStart> SpaceSwitcher::swipeStart(const DisplaySpaces& spaces)
{
    const ManagedDisplay* display = spaces.available ? spaces.swipeDisplay() : nullptr;
    if (!display)
        return std::nullopt;
    const uint64_t currentSpace = display->currentSpace != 0 ? display->currentSpace : spaces.activeSpace;
    const auto current = display->firstIndexOf(currentSpace);
    if (!current)
        return std::nullopt;
    return SwipeStart{display, *current};
}

void SpaceSwitcher::overrideSwitch(int direction, const DisplaySpaces& spaces)
{
    const auto start = spaces.activeSpace != 0 ? swipeStart(spaces) : std::nullopt;
    if (!start) {
        Log::debug("Space switch: current workspace unknown; swipe not replaced");
        return;
    }
    const QString key = start->display->identifier.value_or(QString());
    const Prediction* predicted = validPrediction(key, start->current);
    const int base = predicted ? predicted->index : start->current;
    const int count = int(start->display->spaces.size());
    if ((direction == 0 && base == 0) || (direction != 0 && base + 1 >= count))
        return;
    const int target = direction != 0 ? base + 1 : base - 1;
    const int from = predicted ? predicted->from : start->current;
    if (!switchTo(target))
        return;
    if (m_predictions)
        (*m_predictions)[key] = Prediction{target, from};
    if (onSwitch)
        onSwitch(uint32_t(target));
}

bool SpaceSwitcher::swipeOnce(int direction, const DisplaySpaces& spaces)
{
    resetPredictions();
    const auto start = swipeStart(spaces);
    if (!start)
        return false;
    const int target = direction != 0 ? start->current + 1 : start->current - 1;
    if (target < 0 || target >= int(start->display->spaces.size()))
        return false;
    return switchTo(target);
}
bool SpaceSwitcher::switchToSpace(uint64_t space, const DisplaySpaces& spaces)
{
    const ManagedDisplay* display = spaces.available ? spaces.queryDisplay() : nullptr;
    if (!display)
        return false;
    const auto target = display->lastIndexOf(space);
    const auto current = display->lastIndexOf(display->currentSpace);
    if (!target || !current || *target == *current)
        return false;
    resetPredictions();
    return switchTo(*target);
}

} // namespace quillon
