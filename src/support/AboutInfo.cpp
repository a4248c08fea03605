#include "support/AboutInfo.h"

#include "platform/Platform.h"

#include <QStringList>

namespace quillon {

QString AboutInfo::versionLine(const std::optional<QString>& version, const std::optional<QString>& build,
                               const std::optional<QString>& commit)
{
    if (!version || version->isEmpty())
        return QStringLiteral("development build");
    QStringList pieces;
    for (const auto& piece : {build, commit}) {
        if (piece && !piece->isEmpty())
            pieces << *piece;
    }
    if (pieces.isEmpty())
        return *version;
    return *version + QStringLiteral(" (") + pieces.join(QStringLiteral(" \u00b7 ")) + QLatin1Char(')');
}

QString AboutInfo::current()
{
    const auto& info = platform::platform().buildInfo();
    return versionLine(info.version, info.build, info.commit);
}

} // namespace quillon
