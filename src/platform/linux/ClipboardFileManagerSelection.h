#pragma once

#include "platform/FileManagerSelection.h"

namespace quillon::platform::linux_ {

/// File managers have no common way to tell their selection, so the files
/// copied there (Ctrl+C) stand for it: the clipboard's URI list, read while
/// the default file manager (the handler of folders) is in front.
class ClipboardFileManagerSelection final : public FileManagerSelection {
public:
    bool isFrontmost() override;
    void read(std::function<void(Answer)> done) override;
};

} // namespace quillon::platform::linux_
