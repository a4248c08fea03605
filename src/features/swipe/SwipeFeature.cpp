#include "features/swipe/SwipeFeature.h"

#include "platform/Platform.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "spaceswitch/SpaceSwitch.h"
#include "support/Log.h"

namespace quillon {

std::function<void(int)> sharedSwitchHandler;

void switchTrampoline(uint32_t index)
{
    if (sharedSwitchHandler)
        sharedSwitchHandler(int(index));
}

SwipeFeature::SwipeFeature(Settings& settings)
    : m_settings(settings)
    , m_self(std::make_shared<SwipeFeature*>(this))
{
}

SwipeFeature::~SwipeFeature()
{
    deactivate();
    *m_self = nullptr;
}

void SwipeFeature::activate()
{
    if (m_active)
        return;
    std::weak_ptr<SwipeFeature*> weak = m_self;
    sharedSwitchHandler = [weak](int index) {
        if (const auto self = weak.lock(); self && *self)
            (*self)->handleSwitch(index);
    };
    // The module has logged why when it cannot take the swipes.
    if (!css_start(switchTrampoline)) {
        sharedSwitchHandler = nullptr;
        Log::error(QStringLiteral("Swipe: could not take the touchpad swipes"));
        return;
    }
    // A real workspace change makes the pending check moot.
    m_spaceChangeToken = platform::platform().spaces().addChangeHandler([weak] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->m_verifyWork.cancel();
        css_reset_predictions();
    });
    m_active = true;
    Log::debug("Swipe activated");
}

void SwipeFeature::deactivate()
{
    if (!m_active)
        return;
    m_verifyWork.cancel();
    m_verifyWork = {};
    css_stop();
    if (m_spaceChangeToken)
        platform::platform().spaces().removeChangeHandler(*m_spaceChangeToken);
    m_spaceChangeToken.reset();
    sharedSwitchHandler = nullptr;
    m_osd.dismiss();
    m_active = false;
    Log::debug("Swipe deactivated");
}

void SwipeFeature::handleSwitch(int index)
{
    Log::debug([&] { return QStringLiteral("Swipe switched to space %1").arg(index); });
    m_verifyWork.cancel();
    std::weak_ptr<SwipeFeature*> weak = m_self;
    m_verifyWork = platform::platform().mainQueue().after(verifyDelay, [weak, index] {
        const auto self = weak.lock();
        if (!self || !*self)
            return;
        css_reset_predictions();
        const int32_t current = css_current_space_index();
        if (current >= 0 && current != index)
            (*self)->display(current + 1);
    });
    display(index + 1);
}

void SwipeFeature::display(int space)
{
    if (onSpaceSwitched && onSpaceSwitched(space))
        return;
    if (m_settings.defaults().boolForKey(SettingsKeys::swipeShowsOSD))
        m_osd.show(QString::number(space), indicatorMs);
}

} // namespace quillon
