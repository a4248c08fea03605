// Feeds arbitrary bytes to the desktop-entry reader. Beyond not crashing:
// every value it reads, escaped again by the desktop-entry rules into a new
// entry, reads back the same.

#include "platform/linux/DesktopEntry.h"

#include <QSet>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

using namespace quillon;
using platform::linux_::DesktopEntry;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The writer's side of the escapes: backslash, the four named ones, and any
// other blank a reader would trim from the ends.
QString escaped(const QString& value)
{
    QString out;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case ' ':
            out += QStringLiteral("\\s");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            if (c.isSpace())
                out += QLatin1Char('\\');
            out += c;
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    // mimeapps.list is read by the same reader, one group of it.
    if (const auto defaults = DesktopEntry::parse(text, QStringLiteral("Default Applications")))
        for (const QString& app :
             defaults->value(QStringLiteral("inode/directory")).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (app.isEmpty())
                std::abort();

    const auto entry = DesktopEntry::parse(text);
    if (!entry)
        return 0;
    entry->application(QStringLiteral("fuzz"), QStringLiteral("/fuzz.desktop"));
    entry->localized(QStringLiteral("Name"));

    // Keys as a writer would name them: the text before the first "=".
    QStringList keys;
    QSet<QString> seen;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char('[')))
            continue;
        const QString key = line.left(eq).trimmed();
        if (!seen.contains(key)) {
            seen.insert(key);
            keys << key;
        }
    }
    QString rewritten = QStringLiteral("[Desktop Entry]\n");
    for (const QString& key : keys) {
        rewritten += key + QLatin1Char('=') + escaped(entry->value(key)) + QLatin1Char('\n');
        DesktopEntry::program(entry->value(key));
    }
    const auto again = DesktopEntry::parse(rewritten.toUtf8());
    require(again.has_value());
    for (const QString& key : keys)
        require(again->value(key) == entry->value(key));
    return 0;
}
