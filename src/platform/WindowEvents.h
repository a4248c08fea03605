#pragma once

#include "platform/WindowServer.h"

#include <QString>
#include <functional>
#include <optional>

namespace quillon::platform {

/// What an observer of an application's windows can be told.
enum class WindowNotification {
    focusedWindowChanged,
    mainWindowChanged,
    windowCreated,
    elementDestroyed,
    windowMinimized,
    windowUnminimized,
    titleChanged,
};
QString rawValue(WindowNotification notification);

/// The outcome of one registration.
enum class RegistrationStatus {
    success,
    alreadyRegistered,
    /// The observer or the window is gone.
    invalidElement,
    /// The application does not answer yet.
    cannotComplete,
};
QString rawValue(RegistrationStatus status);

/// Window events of one application at a time. Observers are created per
/// process and then told which notifications they want, on the application
/// as a whole or on one of its windows. Main thread only.
class WindowEvents {
public:
    /// `window` is the window the event is about (0 when none).
    using Handler = std::function<void(WindowNotification notification, WindowId window)>;
    /// The application as a whole, as the target of a registration.
    static constexpr WindowId application = 0;

    virtual ~WindowEvents() = default;
    /// A new observer of a process's windows; none when it cannot be observed.
    virtual std::optional<int> observe(int32_t pid, Handler handler) = 0;
    /// Registers a notification on the application or on one of its windows.
    virtual RegistrationStatus add(int observer, WindowNotification notification, WindowId target) = 0;
    /// Ends an observer; its handler is never called again.
    virtual void remove(int observer) = 0;
};

} // namespace quillon::platform
