#pragma once

#include <functional>

class QWidget;

namespace quillon::platform {

enum class Appearance { light, dark };

/// What the running application is to the desktop: the one instance, the
/// target of a reopen, its look, and a process that can end or restart.
class AppShell {
public:
    /// Given to a process started by relaunch(): it waits for the name instead
    /// of handing over to the instance that is quitting.
    static constexpr const char* relaunchArgument = "--relaunched";

    enum class Claim {
        claimed,        // this process is the one instance
        anotherRunning, // another instance holds the name
        queued,         // the name comes to this process once its holder lets go
        unavailable,    // no session bus: nothing to coordinate with
    };

    virtual ~AppShell() = default;

    /// Takes the single-instance name. With `waitForRelease`, queues for it
    /// instead of giving up when another instance still holds it.
    virtual Claim claimSingleInstance(bool waitForRelease) = 0;
    /// Asks the running instance to show itself (as a click on the app's
    /// launcher would); false when nobody answered.
    virtual bool requestReopen() = 0;
    /// Called on the main thread when another launch asks this one to reopen.
    virtual void setReopenHandler(std::function<void()> handler) = 0;

    /// Starts a new instance and quits this one once it has started. When it
    /// cannot be started this one keeps running (and keeps the name): false.
    virtual bool relaunch() = 0;
    /// Ends the application after the current event, with `status` as the
    /// process's exit status.
    virtual void terminate(int status = 0) = 0;

    /// Puts our window on the current workspace, raises it and gives it the
    /// focus, as a click in the taskbar would (so focus-stealing prevention
    /// lets it through).
    virtual void bringToFront(QWidget& window) = 0;

    virtual void setAppearance(Appearance appearance) = 0;
    virtual Appearance appearance() const = 0;
    /// Whether another process of this user runs our executable. The
    /// single-instance name cannot tell: a second launch hands over and ends.
    virtual bool anotherInstanceIsRunning() const = 0;
};

} // namespace quillon::platform
