#pragma once

#include "app/Feature.h"
#include "features/focus/FocusLayout.h"
#include "platform/MainQueue.h"
#include "platform/Workspace.h"

#include <QRectF>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QObject;
class QWidget;

namespace quillon {

class Settings;
class WindowObserver;

/// Dims everything but the window being worked in: one translucent black
/// overlay per screen, kept directly above the topmost window to be dimmed
/// on that screen. Needs a compositor: without one it shows nothing, and it
/// drops its overlays the moment the compositor goes.
class FocusFeature final : public Feature {
public:
    explicit FocusFeature(Settings& settings);
    ~FocusFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// While active, every dimming window takes black at this alpha.
    /// A value outside 0...1 (an imported file) is clamped to that range;
    /// one that is not a number is ignored. Writes no setting.
    void applyAlpha(double alpha);
    /// The dimming strength the overlays take.
    double alpha() const { return m_alpha; }

    /// The dimming windows, one per screen while a compositor runs.
    std::vector<QWidget*> overlays() const;

    /// Settle passes after every scheduled reorder, in seconds.
    static constexpr std::array<double, 2> restackSettles{0.15, 0.5};
    /// Further passes while the front application shows no window yet.
    static constexpr std::array<double, 5> launchSettles{0.25, 0.45, 0.8, 1.3, 2.0};

private:
    void subscribe();
    void unsubscribe();
    void rebuildOverlays();
    void dropOverlays();
    void compositorChanged();
    void scheduleReorder(std::optional<platform::RunningApp> app);
    void reorder(const platform::RunningApp& app);
    void place(const std::vector<std::optional<qulonglong>>& anchors);
    void watchWindows(int32_t pid);
    bool hasVisibleOwnWindow() const;
    std::optional<qulonglong> focusedWindowID(qint64 pid, const std::vector<FocusLayout::Owned>& among);
    std::vector<QRectF> screenRects() const;

    Settings& m_settings;
    bool m_active = false;
    double m_alpha = 0.3;
    std::vector<std::unique_ptr<QWidget>> m_overlays;
    std::optional<int> m_workspaceToken;
    std::optional<int> m_spacesToken;
    std::optional<int> m_displaysToken;
    std::optional<int> m_compositorToken;
    /// Carries the connections and the close filter of our own windows.
    std::unique_ptr<QObject> m_localEvents;
    std::unique_ptr<WindowObserver> m_frontObserver;
    std::optional<int32_t> m_observedPID;
    std::vector<platform::WorkItem> m_settleWork;
    std::optional<std::pair<qint64, qulonglong>> m_cachedFocusedWindow;
    bool m_frontmostIsWindowless = false;
    bool m_toldNoCompositor = false;
    // Lets queued work and handlers outlive the feature harmlessly.
    std::shared_ptr<FocusFeature*> m_self;
};

} // namespace quillon
