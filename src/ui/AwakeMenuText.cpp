#include "ui/AwakeMenuText.h"

#include <QStringList>

namespace quillon {

QString AwakeMenuText::detail(const std::optional<QDateTime>& endsAt, const std::optional<QString>& trigger,
                              const QDateTime& now, const QLocale& locale, const QTimeZone& timeZone)
{
    QStringList parts;
    if (!endsAt || !endsAt->isValid()) {
        parts << QStringLiteral("no time limit");
    } else {
        const QDateTime end = endsAt->toTimeZone(timeZone);
        QString part = QStringLiteral("until ") + locale.toString(end.time(), QLocale::ShortFormat);
        if (end.date() != now.toTimeZone(timeZone).date())
            part += QStringLiteral(" tomorrow");
        parts << part;
    }
    if (trigger)
        parts << QStringLiteral("because ") + *trigger;
    return parts.join(QStringLiteral(", "));
}

} // namespace quillon
