#include "platform/linux/AutostartLoginItem.h"

#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon::platform::linux_ {

AutostartLoginItem::AutostartLoginItem(QString autostartDir, QString appId, QString executable)
    : m_dir(std::move(autostartDir))
    , m_appId(std::move(appId))
    , m_executable(std::move(executable))
{
}

QString AutostartLoginItem::entryPath() const
{
    return m_dir + QLatin1Char('/') + m_appId + QStringLiteral(".desktop");
}

QString AutostartLoginItem::quoteExec(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = program.isEmpty();
    for (const QChar c : program)
        needsQuotes |= reserved.contains(c);
    QString argument = program;
    if (needsQuotes) {
        QString quoted;
        for (const QChar c : program) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        argument = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // The string rules of the file apply before the quoting rules.
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return argument;
}

QByteArray AutostartLoginItem::entry(const QString& executable)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Quillon\n"
                                  "Exec=%1\n"
                                  "X-GNOME-Autostart-enabled=true\n")
                       .arg(quoteExec(executable));
    return text.toUtf8();
}

LoginItem::Status AutostartLoginItem::status()
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return Status::notRegistered;
    // Only the keys that switch an entry off count; any Exec (even one
    // written by hand) starts something at login.
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Hidden") && value == QLatin1String("true"))
            return Status::notRegistered;
        if (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false"))
            return Status::notRegistered;
    }
    return Status::enabled;
}

std::optional<QString> AutostartLoginItem::registerItem()
{
    if (!QDir().mkpath(m_dir))
        return QStringLiteral("The folder %1 could not be made.").arg(m_dir);
    QString error;
    if (!AtomicFile::write(entryPath(), entry(m_executable), &error))
        return error;
    return std::nullopt;
}

std::optional<QString> AutostartLoginItem::unregisterItem()
{
    QFile file(entryPath());
    if (!file.exists() || file.remove())
        return std::nullopt;
    return QStringLiteral("%1 could not be removed: %2").arg(entryPath(), file.errorString());
}

} // namespace quillon::platform::linux_
