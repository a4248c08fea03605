#pragma once

#include <QString>

namespace quillon::platform {

/// Where the system keeps things. Folders are named here, never created:
/// each writer creates what it needs.
class Paths {
public:
    virtual ~Paths() = default;
    virtual QString home() const = 0;
    /// Our settings folder ($XDG_CONFIG_HOME/Quillon).
    virtual QString configDir() const = 0;
    /// Our data folder ($XDG_DATA_HOME/Quillon): every data file but the logs.
    virtual QString dataDir() const = 0;
    /// Our log folder ($XDG_STATE_HOME/Quillon).
    virtual QString logDir() const = 0;
    /// The user's desktop and pictures folders.
    virtual QString desktopDir() const = 0;
    virtual QString picturesDir() const = 0;
    /// A folder for short-lived files.
    virtual QString tempDir() const = 0;
};

} // namespace quillon::platform
