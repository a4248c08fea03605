#pragma once

#include "platform/ScreenCapture.h"

#include <QColor>
#include <QHash>

namespace quillon::fakes {

/// Screens whose images the test sets by screen id. A screen without one is
/// filled with `fill` at its size; with `fill` invalid its capture fails.
class FakeScreenCapture final : public platform::ScreenCapture {
public:
    bool canCapture() override { return available; }
    QImage capture(const platform::Screen& screen) override
    {
        ++captureCount;
        if (!available)
            return {};
        QImage image = images.value(screen.id);
        if (image.isNull() && fill.isValid()) {
            image = QImage(qRound(screen.frame.width() * screen.scale),
                           qRound(screen.frame.height() * screen.scale), QImage::Format_RGB32);
            image.fill(fill);
        }
        if (!image.isNull())
            image.setDevicePixelRatio(screen.scale);
        return image;
    }

    bool available = true;
    QHash<QString, QImage> images;
    QColor fill = QColor(0x80, 0x80, 0x80);
    int captureCount = 0;
};

} // namespace quillon::fakes
