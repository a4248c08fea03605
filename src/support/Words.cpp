#include "support/Words.h"

namespace quillon {

namespace {

struct Word {
    QStringView from;
    QStringView to;
};

// Longer phrases before the words they contain.
constexpr Word kWords[] = {
    {u"macOS", u"Linux"},
    {u"The Finder", u"The file manager"},
    {u"the Finder", u"the file manager"},
    {u"Finder", u"File Manager"},
    {u"The Dock", u"The panel"},
    {u"the Dock", u"the panel"},
    {u"Dock", u"panel"},
    {u"Mission Control", u"the workspace overview"},
    {u"Quick Look", u"Preview"},
    {u"AirDrop", u"Send to Device"},
    {u"The Mac", u"The computer"},
    {u"the Mac", u"the computer"},
    {u"Mac", u"computer"},
    {u"Spaces", u"workspaces"},
    {u"Space", u"workspace"},
    {u"SkyLight Spaces API unavailable", u"window manager does not report workspaces"},
    {u"Accessibility not granted", u"no X11 session"},
};

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

bool opensSentence(const QString& done)
{
    const QString trimmed = done.trimmed();
    return trimmed.isEmpty() || trimmed.endsWith(u'.') || trimmed.endsWith(u'!') || trimmed.endsWith(u'?');
}

const Word* wordAt(const QString& text, qsizetype at)
{
    if (at > 0 && isWordChar(text[at - 1]))
        return nullptr;
    const QStringView rest = QStringView(text).mid(at);
    for (const auto& word : kWords) {
        if (!rest.startsWith(word.from))
            continue;
        const qsizetype end = word.from.size();
        if (end < rest.size() && isWordChar(rest[end]))
            continue;
        return &word;
    }
    return nullptr;
}

} // namespace

QString Words::adapt(const QString& text)
{
    QString result;
    result.reserve(text.size());
    qsizetype at = 0;
    while (at < text.size()) {
        const Word* word = wordAt(text, at);
        if (!word) {
            result += text[at++];
            continue;
        }
        QString replacement = word->to.toString();
        if (word->from.front().isUpper() && opensSentence(result))
            replacement[0] = replacement[0].toUpper();
        result += replacement;
        at += word->from.size();
    }
    return result;
}

} // namespace quillon
