#include "features/focus/FocusFeature.h"

#include "platform/Platform.h"
#include "platform/ScreenSpace.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "support/Log.h"
#include "windows/WindowList.h"
#include "windows/WindowObserver.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStringList>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace quillon {

namespace {

/// One screen's dimming: black at the dimming alpha, painted over whatever
/// the compositor shows beneath.
class DimmingOverlay final : public QWidget {
public:
    explicit DimmingOverlay(double alpha)
        : m_alpha(alpha)
    {
        setAttribute(Qt::WA_NoSystemBackground);
    }
    void setAlpha(double alpha)
    {
        m_alpha = alpha;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, float(m_alpha)));
    }

private:
    double m_alpha;
};

/// Sees our own top-level windows closing.
class CloseWatcher final : public QObject {
public:
    std::function<void()> onClose;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close && onClose) {
            const bool topLevel = watched->isWidgetType() ? static_cast<QWidget*>(watched)->isWindow()
                                                          : watched->isWindowType();
            if (topLevel)
                onClose();
        }
        return false;
    }
};

double clampedAlpha(double alpha, double fallback)
{
    return std::isnan(alpha) ? fallback : std::clamp(alpha, 0.0, 1.0);
}

} // namespace

FocusFeature::FocusFeature(Settings& settings)
    : m_settings(settings)
    , m_self(std::make_shared<FocusFeature*>(this))
{
}

FocusFeature::~FocusFeature()
{
    deactivate();
    *m_self = nullptr;
}

void FocusFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    subscribe();
    rebuildOverlays();
    scheduleReorder(std::nullopt);
    Log::debug("Focus activated");
}

void FocusFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    unsubscribe();
    for (auto& work : m_settleWork)
        work.cancel();
    m_settleWork.clear();
    m_frontObserver.reset();
    m_observedPID.reset();
    dropOverlays();
    Log::debug("Focus deactivated");
}

void FocusFeature::applyAlpha(double alpha)
{
    if (std::isnan(alpha))
        return;
    m_alpha = clampedAlpha(alpha, m_alpha);
    if (!m_active)
        return;
    for (auto& overlay : m_overlays)
        static_cast<DimmingOverlay*>(overlay.get())->setAlpha(m_alpha);
}

std::vector<QWidget*> FocusFeature::overlays() const
{
    std::vector<QWidget*> windows;
    for (const auto& overlay : m_overlays)
        windows.push_back(overlay.get());
    return windows;
}

void FocusFeature::subscribe()
{
    auto& p = platform::platform();
    std::weak_ptr<FocusFeature*> weak = m_self;
    const auto later = [weak](auto fn) {
        return [weak, fn](auto&&... args) {
            if (const auto self = weak.lock(); self && *self)
                fn(**self, args...);
        };
    };
    m_workspaceToken = p.workspace().addHandler(
        later([](FocusFeature& self, platform::AppNotice notice, const platform::RunningApp& app) {
            if (notice == platform::AppNotice::activated)
                self.scheduleReorder(app);
            else if (notice == platform::AppNotice::terminated || notice == platform::AppNotice::hidden ||
                     notice == platform::AppNotice::unhidden)
                self.scheduleReorder(std::nullopt);
        }));
    m_spacesToken =
        p.spaces().addChangeHandler(later([](FocusFeature& self) { self.scheduleReorder(std::nullopt); }));
    m_displaysToken = p.displays().addChangeHandler(later([](FocusFeature& self) {
        self.rebuildOverlays();
        self.scheduleReorder(std::nullopt);
    }));
    m_compositorToken =
        p.overlayWindows().addCompositorHandler(later([](FocusFeature& self) { self.compositorChanged(); }));

    auto watcher = std::make_unique<CloseWatcher>();
    watcher->onClose = [weak] {
        // The window is still open while its close event runs.
        platform::platform().mainQueue().post([weak] {
            if (const auto self = weak.lock(); self && *self)
                (*self)->scheduleReorder(std::nullopt);
        });
    };
    if (qGuiApp) {
        qGuiApp->installEventFilter(watcher.get());
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, watcher.get(),
                         later([](FocusFeature& self, QWindow*) { self.scheduleReorder(std::nullopt); }));
    }
    m_localEvents = std::move(watcher);
}

void FocusFeature::unsubscribe()
{
    auto& p = platform::platform();
    if (m_workspaceToken)
        p.workspace().removeHandler(*m_workspaceToken);
    if (m_spacesToken)
        p.spaces().removeChangeHandler(*m_spacesToken);
    if (m_displaysToken)
        p.displays().removeChangeHandler(*m_displaysToken);
    if (m_compositorToken)
        p.overlayWindows().removeCompositorHandler(*m_compositorToken);
    m_workspaceToken.reset();
    m_spacesToken.reset();
    m_displaysToken.reset();
    m_compositorToken.reset();
    // Deleting the watcher removes its filter and its connection.
    m_localEvents.reset();
}

// Without a compositor a translucent window would paint the screen black:
// the feature then shows nothing until one starts.
void FocusFeature::rebuildOverlays()
{
    dropOverlays();
    auto& windows = platform::platform().overlayWindows();
    if (!windows.translucent()) {
        if (!m_toldNoCompositor)
            Log::info(QStringLiteral("Focus: no compositor is running; nothing is dimmed until one starts"));
        m_toldNoCompositor = true;
        return;
    }
    m_toldNoCompositor = false;
    m_alpha = clampedAlpha(m_settings.defaults().doubleForKey(SettingsKeys::focusAlpha), m_alpha);
    platform::OverlayStyle style;
    style.level = 0;
    style.clickThrough = true;
    style.captureExcluded = true;
    for (const platform::Screen& screen : platform::platform().displays().screens()) {
        auto overlay = std::make_unique<DimmingOverlay>(m_alpha);
        windows.prepare(*overlay, style);
        windows.setFrame(*overlay, screen.frame);
        // Behind every window until the first reorder places it: shown on
        // top, it would darken the whole screen for a moment.
        windows.stackAtBack(*overlay);
        windows.show(*overlay);
        m_overlays.push_back(std::move(overlay));
    }
}

void FocusFeature::dropOverlays()
{
    auto& windows = platform::platform().overlayWindows();
    for (auto& overlay : m_overlays)
        windows.hide(*overlay);
    m_overlays.clear();
}

void FocusFeature::compositorChanged()
{
    if (!m_active)
        return;
    if (!platform::platform().overlayWindows().translucent()) {
        dropOverlays();
        Log::info(QStringLiteral("Focus: the compositor stopped; dimming waits for one"));
        m_toldNoCompositor = true;
        return;
    }
    rebuildOverlays();
    scheduleReorder(std::nullopt);
}

void FocusFeature::scheduleReorder(std::optional<platform::RunningApp> app)
{
    if (!m_active)
        return;
    m_cachedFocusedWindow.reset();
    auto& p = platform::platform();
    const auto target = app ? app : p.workspace().frontmostApp();
    if (target)
        reorder(*target);
    for (auto& work : m_settleWork)
        work.cancel();
    m_settleWork.clear();
    std::vector<double> delays(restackSettles.begin(), restackSettles.end());
    if (m_frontmostIsWindowless)
        delays.insert(delays.end(), launchSettles.begin(), launchSettles.end());
    std::weak_ptr<FocusFeature*> weak = m_self;
    for (const double delay : delays) {
        m_settleWork.push_back(p.mainQueue().after(delay, [weak] {
            const auto self = weak.lock();
            if (!self || !*self || !(*self)->m_active)
                return;
            if (const auto front = platform::platform().workspace().frontmostApp())
                (*self)->reorder(*front);
        }));
    }
}

void FocusFeature::reorder(const platform::RunningApp& app)
{
    const auto list = windowList(WindowListOption::onScreenOnly);
    if (!list)
        return;
    FocusLayout::Facts facts;
    facts.list = *list;
    for (const auto& overlay : m_overlays) {
        if (const WId id = overlay->internalWinId())
            facts.overlays.insert(qulonglong(id));
    }
    facts.ownPid = ::getpid();
    facts.front = app.pid;
    facts.ownWindowVisible = hasVisibleOwnWindow();
    facts.screens = screenRects();
    facts.focusedWindow = [this](qint64 pid, const std::vector<FocusLayout::Owned>& among) {
        return focusedWindowID(pid, among);
    };
    const FocusLayout::Plan plan = FocusLayout::plan(facts);
    m_frontmostIsWindowless = plan.frontIsWindowless;

    watchWindows(app.pid);
    if (m_overlays.size() != facts.screens.size() && platform::platform().overlayWindows().translucent())
        rebuildOverlays();

    Log::debug([&] {
        QStringList anchors;
        for (const auto& anchor : plan.anchors)
            anchors << (QLatin1Char('"') + (anchor ? QString::number(*anchor) : QStringLiteral("back")) +
                        QLatin1Char('"'));
        return QStringLiteral("Focus: front %1(%2) lit %3/win %4 ours=%5 anchors=[%6]")
            .arg(app.name.isEmpty() ? QStringLiteral("?") : app.name)
            .arg(app.pid)
            .arg(plan.owner ? QString::number(*plan.owner) : QStringLiteral("nobody"))
            .arg(plan.lit ? QString::number(*plan.lit) : QStringLiteral("-"))
            .arg(facts.ownWindowVisible ? QStringLiteral("true") : QStringLiteral("false"))
            .arg(anchors.join(QStringLiteral(", ")));
    });
    place(plan.anchors);
}

// A window that went away since the list was read is skipped: its overlay
// stays where it was until the next pass, and the others are still placed.
void FocusFeature::place(const std::vector<std::optional<qulonglong>>& anchors)
{
    auto& windows = platform::platform().overlayWindows();
    const std::size_t count = std::min(m_overlays.size(), anchors.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!anchors[i]) {
            windows.stackAtBack(*m_overlays[i]);
        } else if (!windows.stackAbove(*m_overlays[i], platform::WindowId(*anchors[i]))) {
            Log::debug(
                [&] { return QStringLiteral("Focus: window %1 is gone; overlay left").arg(*anchors[i]); });
        }
    }
}

void FocusFeature::watchWindows(int32_t pid)
{
    if (pid == ::getpid()) {
        m_frontObserver.reset();
        m_observedPID.reset();
        return;
    }
    if (m_observedPID == pid) {
        if (m_frontObserver)
            m_frontObserver->refresh();
        return;
    }
    m_frontObserver.reset();
    m_observedPID = pid;
    m_cachedFocusedWindow.reset();
    // Stored only after its first attempt: a report from within start()
    // reorders at once, and that nested pass must not touch it.
    auto observer = std::make_unique<WindowObserver>(
        pid, SweepStrategy::efficient, std::vector{platform::WindowNotification::windowMinimized});
    std::weak_ptr<FocusFeature*> weak = m_self;
    observer->onWindowsChanged = [weak] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->scheduleReorder(std::nullopt);
    };
    observer->start();
    m_frontObserver = std::move(observer);
}

bool FocusFeature::hasVisibleOwnWindow() const
{
    if (!qGuiApp)
        return false;
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
        const bool ordinary = window->type() == Qt::Window || window->type() == Qt::Dialog;
        if (window->isVisible() && ordinary && !(window->flags() & Qt::X11BypassWindowManagerHint))
            return true;
    }
    return false;
}

std::optional<qulonglong> FocusFeature::focusedWindowID(qint64 pid,
                                                        const std::vector<FocusLayout::Owned>& among)
{
    auto& p = platform::platform();
    if (!p.permissions().accessibilityTrusted())
        return std::nullopt;
    if (std::none_of(among.begin(), among.end(), [&](const FocusLayout::Owned& o) { return o.pid == pid; }))
        return std::nullopt;
    if (m_cachedFocusedWindow && m_cachedFocusedWindow->first == pid)
        return m_cachedFocusedWindow->second;
    const auto window = p.windowControl().mainWindow(int32_t(pid));
    const auto frame = window ? p.windowControl().frame(*window) : std::nullopt;
    if (!frame)
        return std::nullopt;
    const auto match = FocusLayout::matchFrame(*frame, pid, among);
    if (match)
        m_cachedFocusedWindow = std::make_pair(pid, *match);
    else
        m_cachedFocusedWindow.reset();
    return match;
}

std::vector<QRectF> FocusFeature::screenRects() const
{
    const auto screens = platform::platform().displays().screens();
    std::vector<QRectF> rects;
    if (screens.empty())
        return rects;
    const QRectF primary(0, 0, 0, screens.front().frame.height());
    for (const platform::Screen& screen : screens)
        rects.push_back(platform::ScreenSpace::quartzFromCocoa(screen.frame, primary));
    return rects;
}

} // namespace quillon
