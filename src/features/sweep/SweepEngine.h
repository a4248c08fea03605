#pragma once

#include "app/Feature.h"

#include <QIcon>
#include <QString>
#include <functional>
#include <optional>

namespace quillon {

class Settings;

/// Quits an application when its last window closes.
class SweepEngine final : public BasicFeature {
public:
    explicit SweepEngine(Settings& settings);

    /// A window-control call of the sweep failed.
    std::function<void()> onAccessibilityFailure;
    /// The name and icon of an application the sweep quit.
    std::function<void(const QString&, const std::optional<QIcon>&)> onAppQuit;

    /// Re-reads the sweep settings and watches the applications they name.
    void syncWatchList() {}

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
