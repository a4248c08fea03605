#pragma once

#include "app/Feature.h"
#include "notch/NotchBarItem.h"

#include <QString>
#include <functional>
#include <vector>

namespace quillon {

class LeaderWatcher;
class Settings;

/// Jumping to applications, workspaces and windows with the leader key.
class JumpFeature final : public BasicFeature {
public:
    JumpFeature(Settings& settings, LeaderWatcher& leader);

    /// The letter of an application just activated.
    std::function<void(const QString&)> onHintPress;
    /// The workspace number moved to.
    std::function<void(int)> onSpaceJumped;
    /// Items shown after the command leader's own hint tiles.
    std::function<std::vector<NotchBarItem>()> trailingCommandHints = [] {
        return std::vector<NotchBarItem>{};
    };

    /// Recomputes the automatic letter bindings from the running applications.
    void rebuildAutoBindings() {}

private:
    Settings& m_settings;
    LeaderWatcher& m_leader;
};

} // namespace quillon
