#pragma once

namespace quillon {

/// Screen capture. A grant made while the process runs takes effect only in
/// a new process, hence the launch snapshot and the relaunch.
class ScreenRecordingPermission {
public:
    ScreenRecordingPermission() = delete;

    /// Whether capture was allowed when this process started.
    static inline bool grantedAtLaunch = false;
    /// grantedAtLaunch has been taken (once per process).
    static inline bool didSnapshot = false;
    /// The person dismissed the relaunch prompt during this run.
    static inline bool restartPromptDismissed = false;

    /// Takes grantedAtLaunch, unless it was taken already.
    static void snapshotAtLaunch();
    /// Capture was refused at launch and is allowed now.
    static bool relaunchNeeded();
    /// Starts a new instance and quits this one once it has started. When the
    /// new one cannot start, this one keeps running: false.
    static bool relaunch();
    static void openSystemSettings();
};

} // namespace quillon
