#pragma once

#include <QIcon>

namespace quillon {

/// The status item's template image, for a keep-awake state.
class MenuBarIcon {
public:
    MenuBarIcon() = delete;

    static QIcon make(bool sessionActive);
};

} // namespace quillon
