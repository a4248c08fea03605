#pragma once

#include <QString>

namespace quillon::platform {

/// What the build says about itself.
struct BuildInfo {
    /// The reverse-DNS application id: the settings domain, the D-Bus name,
    /// the desktop file and the notification names.
    QString appId;
    QString version;
    QString build;
    QString commit;
    /// The update framework's public key; empty: this build offers no updates.
    QString updateKey;
    /// The product's website; empty when the build names none.
    QString homepage;
};

} // namespace quillon::platform
