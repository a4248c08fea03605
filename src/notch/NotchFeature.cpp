#include "notch/NotchFeature.h"

#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Config.h"
#include "support/Log.h"
#include "support/Symbols.h"

namespace quillon {

namespace {
const QString kFeaturesCaption = QStringLiteral("features");
}

NotchFeature::NotchFeature(Settings& settings, BatteryMonitor& battery, NotchStage& stage)
    : m_settings(settings)
    , m_battery(battery)
    , m_stage(stage)
    , m_self(std::make_shared<NotchFeature*>(this))
{
}

NotchFeature::~NotchFeature()
{
    m_hintAutoHide.cancel();
    if (m_geometryToken)
        QObject::disconnect(*m_geometryToken);
    m_battery.remove(this);
}

void NotchFeature::activate()
{
    m_isActive = true;
    if (!m_geometryToken) {
        std::weak_ptr<NotchFeature*> weak = m_self;
        m_geometryToken =
            QObject::connect(&NotchGeometry::notifier(), &NotchGeometryNotifier::didChange, [weak] {
                if (auto self = weak.lock())
                    (*self)->teardown();
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
    teardown();
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
        showChip(NotchStates::batteryChip(!state.isOnBattery, state.percent), chipDuration, true);
        return;
    }
    const bool crossed =
        std::any_of(Config::batteryChipThresholds.begin(), Config::batteryChipThresholds.end(),
                    [&](int t) { return last->percent > t && state.percent <= t; });
    if (crossed)
        showChip(NotchStates::lowBatteryChip(state.percent), chipDuration, true);
}

bool NotchFeature::showSpaceChip(int number)
{
    if (!m_isActive || !m_settings.defaults().boolForKey(SettingsKeys::notchSpaceNumber) ||
        !NotchGeometry::hudScreen())
        return false;
    showChip(NotchStates::spaceChip(number), spaceChipDuration, true);
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
    showHints(NotchStates::leaderHints(items, caption));
    if (!autoHideAfter)
        return;
    m_hintAutoHide.cancel();
    std::weak_ptr<NotchFeature*> weak = m_self;
    m_hintAutoHide = platform::platform().mainQueue().after(*autoHideAfter, [weak] {
        if (auto self = weak.lock())
            (*self)->dropHints();
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
    showHints(content);
}

void NotchFeature::showOCRRestartPrompt()
{
    if (!m_isActive)
        return;
    // X11 lets every client capture the screen from the start, so a grant
    // that waits for a relaunch (the one case for the prompt at the notch)
    // does not arise here: the chip says what to do.
    showChip(NotchStates::ocrRestartChip(), chipDuration, true);
}

// The chip controller at the notch backs these; until it is attached they
// only leave a trace in the debug log.
void NotchFeature::showChip(const NotchContent& content, double duration, bool animated)
{
    Log::debug([&] {
        return QStringLiteral("Notch chip: %1 for %2 s%3")
            .arg(content.caption.value_or(QString()))
            .arg(duration)
            .arg(animated ? QStringLiteral(", animated") : QString());
    });
}

void NotchFeature::showHints(const NotchContent& content)
{
    Log::debug([&] { return QStringLiteral("Notch hints: ") + content.caption.value_or(QString()); });
}

void NotchFeature::dropHints()
{
    Log::debug("Notch hints dropped");
}

void NotchFeature::teardown() {}

} // namespace quillon
