#pragma once

#include "platform/FilePromises.h"

namespace quillon::platform::linux_ {

/// Drag sources on Linux hand over files, not promises of them: no drop
/// holds receivers.
class LinuxFilePromises final : public FilePromises {
public:
    QStringList readableTypes() const override { return {}; }
    std::vector<std::shared_ptr<FilePromiseReceiver>> receivers(const QMimeData&) override { return {}; }
};

} // namespace quillon::platform::linux_
