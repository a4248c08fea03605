#include "notch/NotchFeature.h"

#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Config.h"
#include "support/Symbols.h"

namespace quillon {

namespace {
const QString kFeaturesCaption = QStringLiteral("features");
}

NotchFeature::NotchFeature(Settings& settings, BatteryMonitor& battery, NotchStage& stage)
    : m_settings(settings)
    , m_battery(battery)
    , m_stage(stage)
    , m_controller(std::make_unique<NotchController>(std::make_shared<ScreenSurface>()))
    , m_self(std::make_shared<NotchFeature*>(this))
{
    std::weak_ptr<NotchFeature*> weak = m_self;
    m_controller->onSource = [weak](NotchSource source, bool on) {
        auto self = weak.lock();
        if (!self)
            return;
        NotchStage& stage = (*self)->m_stage;
        if (on)
            stage.claim(source);
        else
            stage.release(source);
    };
    m_controller->canPresent = [weak] {
        auto self = weak.lock();
        return self && (*self)->m_stage.arbiter().takeovers.empty();
    };
    // A takeover (the open shelf, the capture prompt) clears the notch at once.
    for (const NotchSource source : {NotchSource::chip, NotchSource::liveChip, NotchSource::hints}) {
        m_stage.setHandler(source, [weak](bool shows) {
            auto self = weak.lock();
            if (self && !shows && !(*self)->m_stage.arbiter().takeovers.empty())
                (*self)->m_controller->teardown();
        });
    }
}

NotchFeature::~NotchFeature()
{
    m_controller->teardown();
    m_hintAutoHide.cancel();
    if (m_geometryToken)
        QObject::disconnect(*m_geometryToken);
    m_battery.remove(this);
    for (const NotchSource source : {NotchSource::chip, NotchSource::liveChip, NotchSource::hints})
        m_stage.setHandler(source, nullptr);
}

void NotchFeature::activate()
{
    m_isActive = true;
    if (!m_geometryToken) {
        std::weak_ptr<NotchFeature*> weak = m_self;
        m_geometryToken =
            QObject::connect(&NotchGeometry::notifier(), &NotchGeometryNotifier::didChange, [weak] {
                if (auto self = weak.lock())
                    (*self)->m_controller->teardown();
            });
    }
    applyBatteryChips();
}

void NotchFeature::deactivate()
{
    if (!m_isActive)
        return;
    m_isActive = false;
    m_hintAutoHide.cancel();
    m_hintAutoHide = {};
    if (m_geometryToken) {
        QObject::disconnect(*m_geometryToken);
        m_geometryToken.reset();
    }
    m_battery.remove(this);
    m_lastBatteryState.reset();
    m_controller->teardown();
}

void NotchFeature::applyBatteryChips()
{
    if (!m_settings.notchBatteryChips()) {
        m_battery.remove(this);
        m_lastBatteryState.reset();
        return;
    }
    std::weak_ptr<NotchFeature*> weak = m_self;
    m_battery.add(this, [weak](BatteryMonitor::State state) {
        if (auto self = weak.lock())
            (*self)->batteryChanged(state);
    });
    if (!m_lastBatteryState)
        m_lastBatteryState = m_battery.currentState();
}

void NotchFeature::batteryChanged(BatteryMonitor::State state)
{
    const auto last = m_lastBatteryState;
    m_lastBatteryState = state;
    if (!last || !m_isActive || !m_settings.notchBatteryChips())
        return;
    if (last->isOnBattery != state.isOnBattery) {
        showChip(NotchStates::batteryChip(!state.isOnBattery, state.percent), chipDuration);
        return;
    }
    const bool crossed =
        std::any_of(Config::batteryChipThresholds.begin(), Config::batteryChipThresholds.end(),
                    [&](int t) { return last->percent > t && state.percent <= t; });
    if (crossed)
        showChip(NotchStates::lowBatteryChip(state.percent), chipDuration);
}

bool NotchFeature::showSpaceChip(int number)
{
    if (!m_isActive || !m_settings.defaults().boolForKey(SettingsKeys::notchSpaceNumber) ||
        !NotchGeometry::hudScreen())
        return false;
    showChip(NotchStates::spaceChip(number), spaceChipDuration);
    return true;
}

void NotchFeature::showLeaderHints(const std::vector<NotchBarItem>& items,
                                   const std::optional<QString>& caption, std::optional<double> autoHideAfter)
{
    if (!m_isActive || items.empty())
        return;
    const bool allowed =
        caption == kFeaturesCaption ? m_settings.notchFeatureHints() : m_settings.notchLeaderHints();
    if (!allowed)
        return;
    m_controller->showHints(NotchStates::leaderHints(items, caption), true);
    if (!autoHideAfter)
        return;
    m_hintAutoHide.cancel();
    std::weak_ptr<NotchFeature*> weak = m_self;
    m_hintAutoHide = platform::platform().mainQueue().after(*autoHideAfter, [weak] {
        if (auto self = weak.lock())
            (*self)->m_controller->dropHints(true, false);
    });
}

void NotchFeature::showSnapUnsupported()
{
    if (!m_isActive || !m_settings.notchSnapHints())
        return;
    NotchBarItem window;
    window.icon = Symbols::image(QStringLiteral("macwindow"));
    window.dimmed = true;
    NotchContent content;
    content.left = {window};
    content.caption = QStringLiteral("Snap: window not supported");
    m_controller->showHints(content, true);
}

void NotchFeature::showOCRRestartPrompt()
{
    if (!m_isActive)
        return;
    // X11 lets every client capture the screen from the start, so a grant
    // that waits for a relaunch (the one case for the prompt at the notch)
    // does not arise here: the chip says what to do.
    showChip(NotchStates::ocrRestartChip(), chipDuration);
}

} // namespace quillon
