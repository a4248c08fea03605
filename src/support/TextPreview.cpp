#include "support/TextPreview.h"

#include <QStringView>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace quillon::TextPreview {

namespace {

bool isHorizontalSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

// The position after the first `count` grapheme clusters of `text`; none
// when it has fewer. With `cut`, the text is the head of a longer one, whose
// end may split a cluster, so reaching it proves nothing.
std::optional<qsizetype> afterGraphemesIn(const QString& text, int count, bool cut)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype at = 0;
    for (int i = 0; i < count; ++i) {
        at = finder.toNextBoundary();
        if (at < 0 || (cut && at >= text.size()))
            return std::nullopt;
    }
    return at;
}

// Where the last `count` clusters of `text` begin; none when `text` is the
// tail of a longer one and its start was reached.
std::optional<qsizetype> lastGraphemesIn(const QString& text, int count, bool cut)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.toEnd();
    qsizetype at = text.size();
    for (int i = 0; i < count && at > 0; ++i) {
        at = finder.toPreviousBoundary();
        if (cut && at <= 0)
            return std::nullopt;
    }
    return std::max<qsizetype>(at, 0);
}

// QTextBoundaryFinder analyses its whole text up front, and a preview needs
// only a few clusters at either end of a line of up to 100,000 bytes: look at
// a window that holds them, and at the whole line only when it does not.
qsizetype windowFor(int count)
{
    return std::max<qsizetype>(qsizetype(count + 1) * 16, 64);
}

} // namespace

std::optional<qsizetype> afterGraphemes(const QString& text, int count)
{
    const qsizetype window = windowFor(count);
    if (window < text.size()) {
        if (auto at = afterGraphemesIn(text.left(window), count, true))
            return at;
    }
    return afterGraphemesIn(text, count, false);
}

qsizetype lastGraphemes(const QString& text, int count)
{
    const qsizetype window = windowFor(count);
    if (window < text.size()) {
        if (auto at = lastGraphemesIn(text.right(window), count, true))
            return text.size() - window + *at;
    }
    return *lastGraphemesIn(text, count, false);
}

qsizetype graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

QString firstLine(const QString& text)
{
    // Windows and old Mac line ends break lines as a line feed does.
    for (QStringView piece : QStringView(text).tokenize(u'\n')) {
        for (QStringView part : piece.tokenize(u'\r')) {
            qsizetype begin = 0;
            qsizetype end = part.size();
            while (begin < end && isHorizontalSpace(part[begin]))
                ++begin;
            while (end > begin && isHorizontalSpace(part[end - 1]))
                --end;
            if (begin < end)
                return part.mid(begin, end - begin).toString();
        }
    }
    return QString();
}

QString truncated(const QString& line, int limit)
{
    const std::optional<qsizetype> end = afterGraphemes(line, limit);
    if (!end || *end >= line.size())
        return line;
    return line.left(afterGraphemes(line, std::max(limit - 1, 0)).value_or(0)) + QChar(0x2026);
}

} // namespace quillon::TextPreview
