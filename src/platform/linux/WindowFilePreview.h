#pragma once

#include "platform/FilePreview.h"

#include <memory>

namespace quillon::platform::linux_ {

class PreviewWindow;

/// The preview as a window of our own: an image, a PDF's first page or the
/// start of a text file shown large, else the file's icon and name. It takes
/// the focus; Left and Right step through the files, Escape closes it.
class WindowFilePreview final : public FilePreview {
public:
    WindowFilePreview();
    ~WindowFilePreview() override;

    bool isVisible() const override;
    void show(const QStringList& paths) override;
    void hide() override;

private:
    std::unique_ptr<PreviewWindow> m_window;
};

} // namespace quillon::platform::linux_
