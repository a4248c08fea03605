#include "platform/linux/DesktopEntry.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace quillon::platform::linux_ {

namespace {

QString unescape(const QString& raw)
{
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c != QLatin1Char('\\') || i + 1 == raw.size()) {
            out += c;
            continue;
        }
        const QChar next = raw[++i];
        switch (next.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        default: out += next; break;
        }
    }
    return out;
}

// The words of an Exec line: blanks separate, double quotes group.
QStringList words(const QString& exec)
{
    QStringList result;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            word += exec[++i];
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                result << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        result << word;
    return result;
}

// Every double quote closed, read as words() reads them.
bool quotesBalanced(const QString& exec)
{
    bool quoted = false;
    for (int i = 0; i < exec.size(); ++i) {
        if (exec[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted && exec[i] == QLatin1Char('\\'))
            ++i;
    }
    return !quoted;
}

} // namespace

std::optional<DesktopEntry> DesktopEntry::parse(const QByteArray& text, const QString& group)
{
    const QString header = QLatin1Char('[') + group + QLatin1Char(']');
    DesktopEntry entry;
    bool inGroup = false;
    bool found = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == header;
            found = found || inGroup;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        if (!entry.m_values.contains(key))
            entry.m_values.insert(key, line.mid(eq + 1).trimmed());
    }
    if (!found)
        return std::nullopt;
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QString& group)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.read(1 << 20), group);
}

QString DesktopEntry::value(const QString& key) const { return unescape(m_values.value(key)); }

QString DesktopEntry::localized(const QString& key) const
{
    const QString locale = QLocale().name(); // "de_DE"
    for (const QString& suffix : {locale, locale.section(QLatin1Char('_'), 0, 0)}) {
        const auto it = m_values.constFind(key + QLatin1Char('[') + suffix + QLatin1Char(']'));
        if (it != m_values.constEnd() && !it->isEmpty())
            return unescape(*it);
    }
    return value(key);
}

bool DesktopEntry::boolean(const QString& key) const { return m_values.value(key) == QLatin1String("true"); }

QString DesktopEntry::program(const QString& exec)
{
    const QStringList parts = words(exec);
    int i = 0;
    if (i < parts.size() && QFileInfo(parts[i]).fileName() == QLatin1String("env")) {
        ++i;
        while (i < parts.size() && (parts[i].contains(QLatin1Char('=')) || parts[i].startsWith(QLatin1Char('-')))) {
            // -u NAME and -C DIR take the next word along.
            if (parts[i] == QLatin1String("-u") || parts[i] == QLatin1String("-C"))
                ++i;
            ++i;
        }
    }
    return i < parts.size() ? QFileInfo(parts[i]).fileName() : QString();
}

std::optional<QStringList> DesktopEntry::arguments(const QString& exec)
{
    if (!quotesBalanced(exec))
        return std::nullopt;
    QStringList result;
    for (const QString& word : words(exec)) {
        QString out;
        bool dropped = false;
        for (int i = 0; i < word.size(); ++i) {
            if (word[i] != QLatin1Char('%') || i + 1 == word.size()) {
                out += word[i];
                continue;
            }
            const QChar code = word[++i];
            if (code == QLatin1Char('%'))
                out += code;
            else
                dropped = true; // %f %u %i %c %k and the deprecated ones
        }
        if (!out.isEmpty() || !dropped)
            result << out;
    }
    if (result.isEmpty() || result.front().isEmpty())
        return std::nullopt;
    return result;
}

std::optional<AppEntry> DesktopEntry::application(const QString& appId, const QString& path) const
{
    if (value(QStringLiteral("Type")) != QLatin1String("Application") || boolean(QStringLiteral("Hidden")))
        return std::nullopt;
    AppEntry app;
    app.appId = appId;
    app.name = localized(QStringLiteral("Name"));
    app.icon = value(QStringLiteral("Icon"));
    app.exec = value(QStringLiteral("Exec"));
    app.executable = program(app.exec);
    if (app.executable.isEmpty())
        app.executable = program(value(QStringLiteral("TryExec")));
    app.startupWMClass = value(QStringLiteral("StartupWMClass"));
    app.shownInMenus = !boolean(QStringLiteral("NoDisplay"));
    app.mimeTypes = value(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    app.path = path;
    return app;
}

} // namespace quillon::platform::linux_
