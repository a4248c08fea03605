#include "ui/MenuBarIcon.h"

#include "support/Symbols.h"

namespace quillon {

QIcon MenuBarIcon::make(bool sessionActive)
{
    const auto glyph =
        Symbols::image(sessionActive ? QStringLiteral("cup.and.saucer.fill") : QStringLiteral("sparkles"));
    return glyph.value_or(QIcon());
}

} // namespace quillon
