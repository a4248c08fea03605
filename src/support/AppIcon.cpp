#include "support/AppIcon.h"

// The resource lives in a static library: nothing would pull its registration
// into the binary unless it is asked for by name.
static void initAppIconResource()
{
    Q_INIT_RESOURCE(AppIcon);
}

namespace quillon {

QString AppIcon::resource()
{
    return QStringLiteral(":/app-icon.svg");
}

QIcon AppIcon::icon()
{
    static const bool registered = [] {
        initAppIconResource();
        return true;
    }();
    Q_UNUSED(registered);
    return QIcon(resource());
}

} // namespace quillon
