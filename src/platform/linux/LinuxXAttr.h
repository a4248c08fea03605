#pragma once

#include "platform/XAttr.h"

namespace quillon::platform::linux_ {

/// listxattr/removexattr on the file itself, never on a link's target.
class LinuxXAttr final : public XAttr {
public:
    QStringList names(const QString& path) const override;
    bool remove(const QString& path, const QString& name) override;
};

} // namespace quillon::platform::linux_
