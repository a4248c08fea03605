#pragma once

#include <memory>

namespace quillon {

/// An update framework's controller: checks for and installs new versions.
class UpdateController {
public:
    virtual ~UpdateController() = default;
    virtual void checkForUpdates() = 0;
};

/// Owns the update controller when the build can update itself. This build
/// ships no update framework, so there never is one, and nothing offers
/// "Check for Updates…".
class Updater {
public:
    Updater();
    UpdateController* controller() const { return m_controller.get(); }

private:
    std::unique_ptr<UpdateController> m_controller;
};

} // namespace quillon
