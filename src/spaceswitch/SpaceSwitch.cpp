#include "spaceswitch/SpaceSwitch.h"

#include "platform/Platform.h"
#include "spaceswitch/SpaceSwitcher.h"
#include "spaceswitch/SwipeTracker.h"
#include "support/Log.h"

namespace quillon {

namespace {

struct Module {
    bool started = false;
    SwipeTracker tracker;
    SpaceSwitcher switcher;
};

Module& module()
{
    static Module instance;
    return instance;
}

QString reasonText(platform::GestureStart outcome)
{
    switch (outcome) {
    case platform::GestureStart::started:
        break;
    case platform::GestureStart::noSession:
        return QStringLiteral("no X11 session");
    case platform::GestureStart::unsupported:
        return QStringLiteral("the X server has no touchpad gestures (XInput 2.4)");
    case platform::GestureStart::refused:
        return QStringLiteral("another program already takes touchpad swipes");
    }
    return QString();
}

void swiped(const platform::Swipe& swipe)
{
    Module& m = module();
    if (const auto direction = m.tracker.handle(swipe))
        m.switcher.overrideSwitch(*direction, DisplaySpaces::current());
}

} // namespace

int css_start(css_switch_callback callback)
{
    Module& m = module();
    auto& gestures = platform::platform().spaceGestures();
    if (m.started && gestures.isStarted())
        return 1;
    const auto outcome = gestures.start(swiped);
    if (outcome != platform::GestureStart::started) {
        m.started = false;
        Log::error(QStringLiteral("Instant workspace switching unavailable: ") + reasonText(outcome));
        return 0;
    }
    m.started = true;
    m.tracker.reset();
    m.switcher.onSwitch = std::move(callback);
    m.switcher.setPredicting(true);
    return 1;
}

void css_stop()
{
    Module& m = module();
    m.tracker.reset();
    m.switcher.onSwitch = nullptr;
    if (m.started)
        platform::platform().spaceGestures().stop();
    m.started = false;
    m.switcher.setPredicting(false);
}

int32_t css_current_space_index()
{
    const auto info = DisplaySpaces::current().pointerDisplayInfo();
    return info ? info->index : -1;
}

int32_t css_space_count()
{
    const auto info = DisplaySpaces::current().pointerDisplayInfo();
    return info ? info->count : 0;
}

void css_reset_predictions()
{
    module().switcher.resetPredictions();
}

int css_swipe_once(int direction, int /*fast*/)
{
    return module().switcher.swipeOnce(direction, DisplaySpaces::current()) ? 1 : 0;
}

int css_switch_to_space(uint64_t spaceId)
{
    return module().switcher.switchToSpace(spaceId, DisplaySpaces::current()) ? 1 : 0;
}

} // namespace quillon
