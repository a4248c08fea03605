#pragma once

#include "platform/Paths.h"

namespace quillon::platform::linux_ {

/// The XDG base and user folders.
class XdgPaths final : public Paths {
public:
    QString home() const override;
    QString configDir() const override;
    QString dataDir() const override;
    QString logDir() const override;
    QString desktopDir() const override;
    QString picturesDir() const override;
    QString tempDir() const override;
};

} // namespace quillon::platform::linux_
