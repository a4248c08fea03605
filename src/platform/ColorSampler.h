#pragma once

#include <QColor>
#include <functional>
#include <optional>

namespace quillon::platform {

/// Lets the person pick the colour of one pixel anywhere on the screens.
class ColorSampler {
public:
    virtual ~ColorSampler() = default;
    /// Opens the sampler; `done` gets the picked colour (sRGB), or none when
    /// the person cancels, always on the main thread. A request while one is
    /// open is answered at once with none.
    virtual void sample(std::function<void(std::optional<QColor>)> done) = 0;
};

} // namespace quillon::platform
