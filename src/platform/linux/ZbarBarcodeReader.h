#pragma once

#include "platform/TextRecognizer.h"

namespace quillon::platform::linux_ {

/// libzbar over a greyscale copy of the image, every symbology on.
class ZbarBarcodeReader final : public BarcodeReader {
public:
    std::vector<QString> read(const QImage& image) override;
};

} // namespace quillon::platform::linux_
