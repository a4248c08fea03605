#pragma once

#include "platform/Pasteboard.h"

namespace quillon::platform::linux_ {

/// The CLIPBOARD selection through QClipboard. The text stays pasteable
/// while this process runs and owns the selection (or a clipboard manager
/// has taken a copy).
class QtPasteboard final : public Pasteboard {
public:
    void clear() override;
    bool writeString(const QString& text) override;
};

} // namespace quillon::platform::linux_
