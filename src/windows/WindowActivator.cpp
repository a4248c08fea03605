#include "windows/WindowActivator.h"

#include "platform/Platform.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace quillon {

namespace {

// The characters (grapheme clusters) of a text.
QStringList characters(const QString& text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int start = 0;
    for (int end = finder.toNextBoundary(); end != -1; end = finder.toNextBoundary()) {
        if (end > start)
            result << text.mid(start, end - start);
        start = end;
    }
    return result;
}

bool isLetter(const QString& character)
{
    if (character.isEmpty())
        return false;
    return QChar::isLetter(character.toUcs4().value(0));
}

QStringList splitEach(const QStringList& pieces, const QString& separator)
{
    QStringList result;
    for (const QString& piece : pieces)
        result << piece.split(separator);
    return result;
}

} // namespace

QString WindowActivator::hintSegment(const QString& title)
{
    const QString trimmed = title.trimmed();
    QStringList pieces{trimmed};
    for (const QString& separator :
         {QStringLiteral(" \u2014 "), QStringLiteral(" \u2013 "), QStringLiteral(" - ")})
        pieces = splitEach(pieces, separator);
    for (auto it = pieces.crbegin(); it != pieces.crend(); ++it) {
        if (!it->isEmpty() && isLetter(characters(*it).value(0)))
            return *it;
    }
    return trimmed;
}

std::optional<QString> WindowActivator::initial(const QString& title)
{
    const QStringList chars = characters(hintSegment(title).toLower());
    if (chars.isEmpty())
        return std::nullopt;
    const auto letter = std::find_if(chars.begin(), chars.end(), isLetter);
    return letter != chars.end() ? *letter : chars.front();
}

QString WindowActivator::hintName(const QString& segment)
{
    const QStringList chars = characters(segment);
    if (chars.size() < 11)
        return segment;
    return chars.mid(0, 9).join(QString()) + QStringLiteral("\u2026");
}

std::vector<WindowActivator::Hint> WindowActivator::titleHints(int32_t pid)
{
    auto& control = platform::platform().windowControl();
    std::vector<Hint> hints;
    for (const platform::WindowId window : control.windows(pid).value_or(std::vector<platform::WindowId>{})) {
        const auto title = control.title(window);
        const auto letter = title ? initial(*title) : std::nullopt;
        if (!letter)
            continue;
        const bool taken =
            std::any_of(hints.begin(), hints.end(), [&](const Hint& h) { return h.initial == *letter; });
        if (!taken)
            hints.push_back({*letter, hintName(hintSegment(*title))});
    }
    return hints;
}

void WindowActivator::raiseWindow(int32_t pid, const QString& titleInitial)
{
    auto& control = platform::platform().windowControl();
    const auto windows = control.windows(pid);
    if (!windows)
        return;
    const QString wanted = titleInitial.toLower();
    std::vector<platform::WindowId> matching;
    for (const platform::WindowId window : *windows) {
        const auto title = control.title(window);
        if (title && initial(*title) == wanted)
            matching.push_back(window);
    }
    if (matching.empty())
        return;
    platform::WindowId target = matching.front();
    if (const auto main = control.mainWindow(pid)) {
        const auto at = std::find(matching.begin(), matching.end(), *main);
        if (at != matching.end())
            target = matching[size_t(std::distance(matching.begin(), at) + 1) % matching.size()];
    }
    // The application is activated once its window is in front, and only
    // while the window is still its own.
    control.raise(target, [pid, target](bool) {
        auto& windows = platform::platform().windowControl();
        const auto owned = windows.windows(pid);
        if (owned && std::find(owned->begin(), owned->end(), target) != owned->end())
            platform::platform().workspace().activate(pid);
    });
}

} // namespace quillon
