#include "platform/linux/JournalLog.h"

#include <QFileInfo>
#include <cstdio>
#include <systemd/sd-journal.h>

namespace quillon::platform::linux_ {

JournalLog::JournalLog()
    : m_journal(QFileInfo::exists(QStringLiteral("/run/systemd/journal/socket")))
{
}

void JournalLog::write(LogLevel level, const QString& category, const QString& message)
{
    const int priority = level == LogLevel::Debug ? 7 : level == LogLevel::Info ? 6 : 3;
    const QByteArray text = message.toUtf8();
    const QByteArray cat = category.toUtf8();
    if (m_journal) {
        sd_journal_send("MESSAGE=%s", text.constData(), "PRIORITY=%i", priority, "QUILLON_CATEGORY=%s",
                        cat.constData(), "SYSLOG_IDENTIFIER=quillon", nullptr);
        return;
    }
    // Debug lines go to the debug file; standard error gets the rest only.
    if (level != LogLevel::Debug)
        std::fprintf(stderr, "quillon [%s] %s\n", cat.constData(), text.constData());
}

} // namespace quillon::platform::linux_
