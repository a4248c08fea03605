#pragma once

#include "app/Feature.h"
#include "notch/BatteryMonitor.h"
#include "notch/DeviceChipWatcher.h"
#include "notch/NotchBarItem.h"
#include "notch/NotchContent.h"
#include "notch/NotchController.h"
#include "notch/NowPlayingController.h"
#include "notch/NowPlayingWatcher.h"
#include "notch/OCRRestartPrompt.h"
#include "platform/MainQueue.h"

#include <QMetaObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class NotchStage;
class Settings;

/// The notch bar as a feature: always wanted, it owns the chip sources
/// (battery, devices, now playing) and offers the rest of the application
/// the ways to put something into the notch.
class NotchFeature final : public Feature {
public:
    NotchFeature(Settings& settings, BatteryMonitor& battery, NotchStage& stage);
    ~NotchFeature() override;
    NotchFeature(const NotchFeature&) = delete;
    NotchFeature& operator=(const NotchFeature&) = delete;

    bool isActive() const override { return m_isActive; }
    /// Switches on, or re-applies the chip settings when already on.
    void activate() override;
    void deactivate() override;

    /// Presents the chips and hints at the notch, on the screen.
    NotchController& controller() { return *m_controller; }
    DeviceChipWatcher& deviceChips() { return *m_deviceChips; }
    NowPlayingWatcher& nowPlaying() { return *m_nowPlaying; }
    /// The now-playing chip; the application connects its media keys.
    NowPlayingController& nowPlayingChip() { return *m_nowPlayingChip; }
    OCRRestartPrompt& restartPrompt() { return *m_restartPrompt; }
    /// A screen was added, removed or resized: the bars move to the new top centre.
    void displaysChanged();

    /// The workspace number after a switch, for 1.2 s; false when nothing
    /// was shown (inactive, switched off, or no display carries the notch).
    bool showSpaceChip(int number);
    /// Key hints while a leader is held. The caption "features" is governed
    /// by "notch.featureHints", every other caption by "notch.leaderHints".
    void showLeaderHints(const std::vector<NotchBarItem>& items, const std::optional<QString>& caption,
                         std::optional<double> autoHideAfter);
    void showSnapUnsupported();
    /// Every hint row goes up through here: a new row ends the wait of an
    /// earlier row's timed hiding, so that cannot take the new row down.
    /// Nothing while the feature is inactive. With `autoHideAfter`, the row
    /// goes by itself after that many seconds.
    void showHintRow(const NotchContent& content, std::optional<double> autoHideAfter = std::nullopt);
    /// Offers the relaunch that makes a new screen-capture grant take effect,
    /// or says so in a chip when the prompt cannot be offered.
    void showOCRRestartPrompt();

    /// Seconds a battery, Space or toggle chip stays.
    static constexpr double chipDuration = 2.5;
    static constexpr double spaceChipDuration = 1.2;

private:
    void applyBatteryChips();
    void batteryChanged(BatteryMonitor::State state);
    void deviceChip(const std::optional<QIcon>& icon, const QString& name, std::optional<int> batteryPercent,
                    bool connected);
    void nowPlayingChanged(bool playing, const QString& title, const QString& artist);
    void geometryChanged();
    void showChip(const NotchContent& content, double duration)
    {
        m_controller->showChip(content, duration, true);
    }

    Settings& m_settings;
    BatteryMonitor& m_battery;
    NotchStage& m_stage;
    std::unique_ptr<NotchController> m_controller;
    std::unique_ptr<DeviceChipWatcher> m_deviceChips;
    std::unique_ptr<NowPlayingWatcher> m_nowPlaying;
    std::unique_ptr<NowPlayingController> m_nowPlayingChip;
    std::unique_ptr<OCRRestartPrompt> m_restartPrompt;
    std::optional<BatteryMonitor::State> m_lastBatteryState;
    platform::WorkItem m_hintAutoHide;
    std::optional<QMetaObject::Connection> m_geometryToken;
    bool m_isActive = false;
    // Callbacks handed out hold this weakly.
    std::shared_ptr<NotchFeature*> m_self;
};

} // namespace quillon
