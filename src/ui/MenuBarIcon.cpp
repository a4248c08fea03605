#include "ui/MenuBarIcon.h"

#include "ui/MenuBarIconEngine.h"

namespace quillon {

QIcon MenuBarIcon::make(bool sessionActive)
{
    QIcon icon(new MenuBarIconEngine(sessionActive));
    // A template: only the shape counts; whoever shows it picks the colour.
    icon.setIsMask(true);
    return icon;
}

} // namespace quillon
