#include "notch/NotchFeature.h"

#include "notch/NotchGeometry.h"
#include "notch/NotchStage.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "permissions/ScreenRecordingPermission.h"
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
    , m_deviceChips(std::make_unique<DeviceChipWatcher>())
    , m_nowPlaying(std::make_unique<NowPlayingWatcher>())
    , m_nowPlayingChip(std::make_unique<NowPlayingController>(stage))
    , m_restartPrompt(std::make_unique<OCRRestartPrompt>(stage))
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
    m_deviceChips->onChip = [weak](const std::optional<QIcon>& icon, const QString& name,
                                   std::optional<int> batteryPercent, bool connected) {
        if (auto self = weak.lock())
            (*self)->deviceChip(icon, name, batteryPercent, connected);
    };
    m_nowPlaying->onState = [weak](bool playing, const QString& title, const QString& artist) {
        if (auto self = weak.lock())
            (*self)->nowPlayingChanged(playing, title, artist);
    };
}

NotchFeature::~NotchFeature()
{
    m_self.reset();
    m_deviceChips->stop();
    m_nowPlaying->stop();
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
                    (*self)->geometryChanged();
            });
    }
    applyBatteryChips();
    if (!m_settings.notchDeviceChips())
        m_deviceChips->stop();
    else
        m_deviceChips->start();
    const bool nowPlaying = m_settings.notchNowPlaying();
    if (nowPlaying)
        m_nowPlaying->start();
    else
        m_nowPlaying->stop();
    m_nowPlayingChip->setEnabled(nowPlaying);
}

// The bars were made for the old notch: drop them and rebuild the
// now-playing chip at the new one.
void NotchFeature::geometryChanged()
{
    m_controller->teardown();
    m_restartPrompt->close();
    m_nowPlayingChip->draw();
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
    m_deviceChips->stop();
    m_nowPlaying->stop();
    m_nowPlayingChip->setEnabled(false);
    m_restartPrompt->close();
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

void NotchFeature::deviceChip(const std::optional<QIcon>& icon, const QString& name,
                              std::optional<int> batteryPercent, bool connected)
{
    if (!m_isActive || !m_settings.notchDeviceChips())
        return;
    NotchBarItem device;
    device.icon = icon;
    NotchContent content;
    if (connected) {
        if (batteryPercent) {
            NotchBarItem charge;
            charge.text = QString::number(*batteryPercent) + u'%';
            charge.value = true;
            content.right = {charge};
        }
    } else {
        device.dimmed = true;
        NotchBarItem off;
        off.text = QStringLiteral("Off");
        off.value = true;
        off.dimmed = true;
        content.right = {off};
    }
    content.left = {device};
    content.caption = name;
    showChip(content, chipDuration);
}

void NotchFeature::nowPlayingChanged(bool playing, const QString& title, const QString& artist)
{
    if (!m_nowPlayingChip->isEnabled())
        return;
    const bool arm = m_nowPlayingChip->state().playback(playing, title, artist);
    m_nowPlayingChip->settle();
    if (arm)
        m_nowPlayingChip->armDwell();
}

void NotchFeature::displaysChanged()
{
    m_controller->displaysChanged();
    m_nowPlayingChip->draw();
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
    showHintRow(NotchStates::leaderHints(items, caption), autoHideAfter);
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
    showHintRow(content);
}

void NotchFeature::showHintRow(const NotchContent& content, std::optional<double> autoHideAfter)
{
    if (!m_isActive)
        return;
    m_hintAutoHide.cancel();
    m_hintAutoHide = {};
    m_controller->showHints(content, true);
    if (!autoHideAfter)
        return;
    std::weak_ptr<NotchFeature*> weak = m_self;
    m_hintAutoHide = platform::platform().mainQueue().after(*autoHideAfter, [weak] {
        if (auto self = weak.lock())
            (*self)->m_controller->dropHints(true, false);
    });
}

void NotchFeature::showOCRRestartPrompt()
{
    if (!m_isActive)
        return;
    // X11 lets every client capture the screen from the start, so on this
    // desktop the prompt's case does not arise and the chip says what to do.
    if (!ScreenRecordingPermission::grantedAtLaunch &&
        platform::platform().permissions().screenCaptureAllowed() &&
        !ScreenRecordingPermission::restartPromptDismissed) {
        m_restartPrompt->show([] { ScreenRecordingPermission::relaunch(); },
                              [] { ScreenRecordingPermission::restartPromptDismissed = true; });
        return;
    }
    showChip(NotchStates::ocrRestartChip(), chipDuration);
}

} // namespace quillon
