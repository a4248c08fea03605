#include "windows/WindowObserver.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

using platform::RegistrationStatus;
using platform::WindowNotification;

const std::vector<WindowNotification> WindowObserver::windowScopedTriggers{
    WindowNotification::focusedWindowChanged, WindowNotification::mainWindowChanged,
    WindowNotification::windowCreated};

WindowObserver::WindowObserver(int32_t pid, SweepStrategy strategy, std::vector<WindowNotification> extraTriggers)
    : m_pid(pid)
    , m_strategy(strategy)
    , m_extraTriggers(std::move(extraTriggers))
    , m_self(std::make_shared<WindowObserver*>(this))
{
}

WindowObserver::~WindowObserver()
{
    invalidate();
    *m_self = nullptr;
}

void WindowObserver::start() { attemptStart(); }

void WindowObserver::refresh()
{
    if (m_observer) {
        registerWindowDestroyObservers();
        return;
    }
    if (m_pendingRetry)
        return;
    m_retryAttempt = 0;
    attemptStart();
}

void WindowObserver::invalidate()
{
    if (m_pendingRetry)
        m_pendingRetry->cancel();
    m_pendingRetry.reset();
    if (m_observer)
        platform::platform().windowEvents().remove(*m_observer);
    m_observer.reset();
    onWindowsChanged = nullptr;
}

void WindowObserver::attemptStart()
{
    m_pendingRetry.reset();
    auto& events = platform::platform().windowEvents();
    std::weak_ptr<WindowObserver*> self = m_self;
    const auto observer = events.observe(m_pid, [self](WindowNotification notification, platform::WindowId window) {
        if (auto alive = self.lock(); alive && *alive)
            (*alive)->handle(notification, window);
    });
    if (!observer) {
        scheduleRetry();
        return;
    }
    bool anyRegistered = false;
    if (m_strategy == SweepStrategy::thorough)
        anyRegistered = registerOn(*observer, WindowNotification::elementDestroyed, events.application);
    auto triggers = windowScopedTriggers;
    triggers.insert(triggers.end(), m_extraTriggers.begin(), m_extraTriggers.end());
    for (const WindowNotification notification : triggers)
        anyRegistered = registerOn(*observer, notification, events.application) || anyRegistered;
    if (!anyRegistered) {
        Log::debug([&] {
            return QStringLiteral("pid %1: window events not ready (%2), retrying").arg(m_pid).arg(rawValue(m_strategy));
        });
        events.remove(*observer);
        scheduleRetry();
        return;
    }
    m_observer = observer;
    registerWindowDestroyObservers();
    Log::debug([&] { return QStringLiteral("pid %1: observer active (%2)").arg(m_pid).arg(rawValue(m_strategy)); });
    if (onWindowsChanged)
        onWindowsChanged();
}

bool WindowObserver::registerOn(int observer, WindowNotification notification, platform::WindowId target)
{
    const RegistrationStatus status = platform::platform().windowEvents().add(observer, notification, target);
    if (status == RegistrationStatus::success || status == RegistrationStatus::alreadyRegistered)
        return true;
    Log::debug([&] {
        return QStringLiteral("pid %1: %2 failed (%3)").arg(m_pid).arg(rawValue(notification), rawValue(status));
    });
    return false;
}

void WindowObserver::registerWindowDestroyObservers()
{
    if (m_strategy != SweepStrategy::efficient || !m_observer)
        return;
    const auto windows = platform::platform().windowControl().windows(m_pid);
    if (!windows)
        return;
    // Registering a window twice is harmless, so this may run again at will.
    for (const platform::WindowId window : *windows)
        platform::platform().windowEvents().add(*m_observer, WindowNotification::elementDestroyed, window);
}

void WindowObserver::scheduleRetry()
{
    if (m_pendingRetry)
        return;
    if (m_retryAttempt >= int(retryDelays.size())) {
        Log::error(QStringLiteral("Giving up on pid %1 until its next activation: app not accessible").arg(m_pid));
        return;
    }
    const double delay = retryDelays[size_t(m_retryAttempt)];
    ++m_retryAttempt;
    std::weak_ptr<WindowObserver*> self = m_self;
    m_pendingRetry = platform::platform().mainQueue().after(delay, [self] {
        auto alive = self.lock();
        if (!alive || !*alive)
            return;
        WindowObserver* observer = *alive;
        observer->m_pendingRetry.reset();
        if (!observer->m_observer)
            observer->attemptStart();
    });
}

void WindowObserver::handle(WindowNotification notification, platform::WindowId window)
{
    if (m_strategy == SweepStrategy::efficient && notification == WindowNotification::windowCreated && m_observer)
        platform::platform().windowEvents().add(*m_observer, WindowNotification::elementDestroyed, window);
    Log::debug([&] { return QStringLiteral("pid %1: window event %2").arg(m_pid).arg(rawValue(notification)); });
    if (onWindowsChanged)
        onWindowsChanged();
}

} // namespace quillon
