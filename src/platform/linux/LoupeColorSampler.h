#pragma once

#include "platform/ColorSampler.h"

#include <QImage>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

namespace quillon::platform::linux_ {

class LoupeWindow;

/// Our own loupe: one overlay window per screen showing the screen's still
/// image with a magnifier of the pixels around the pointer. A left click picks
/// the pixel under the pointer (its bytes taken as sRGB); Escape or a right
/// click cancels.
class LoupeColorSampler final : public ColorSampler {
public:
    LoupeColorSampler();
    ~LoupeColorSampler() override;

    void sample(std::function<void(std::optional<QColor>)> done) override;
    bool isOpen() const { return bool(m_done); }

private:
    void finish(std::optional<QColor> colour);

    std::vector<std::unique_ptr<LoupeWindow>> m_windows;
    std::function<void(std::optional<QColor>)> m_done;
    std::optional<int> m_escape;
};

} // namespace quillon::platform::linux_
