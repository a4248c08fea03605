#pragma once

#include <QIcon>

namespace quillon {

/// The status item's template image, for a keep-awake state.
class MenuBarIcon {
public:
    MenuBarIcon() = delete;

    /// The image's size in points.
    static constexpr QSize size{15, 14};

    static QIcon make(bool sessionActive);
};

} // namespace quillon
