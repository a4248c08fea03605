#include "features/snippets/SnippetPicker.h"

#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace quillon {

namespace {

constexpr double distantPast = -std::numeric_limits<double>::infinity();

bool isOneCharacter(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    return finder.toNextBoundary() == text.size();
}

SnippetPicker::Result moved(SnippetPicker::State state, int step)
{
    if (state.rowCount > 0)
        state.highlighted = std::clamp(state.highlighted + step, 0, state.rowCount - 1);
    return {state, state.rowCount > 0 ? SnippetPicker::Effect::highlight : SnippetPicker::Effect::none, true};
}

SnippetPicker::Result deleted(SnippetPicker::State state, double now)
{
    if (!state.query.isEmpty()) {
        // One whole character, not half of a surrogate pair.
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, state.query);
        finder.toEnd();
        state.query.truncate(std::max<qsizetype>(0, finder.toPreviousBoundary()));
        state.highlighted = 0;
        state.lastEmptyDelete = distantPast;
        return {state, SnippetPicker::Effect::refresh, true};
    }
    const bool close = now - state.lastEmptyDelete < SnippetPicker::doubleDeleteWindow;
    state.lastEmptyDelete = now;
    return {state, close ? SnippetPicker::Effect::close : SnippetPicker::Effect::none, true};
}

} // namespace

bool SnippetPicker::types(const QString& text)
{
    if (text.isEmpty() || !isOneCharacter(text))
        return false;
    const char32_t first = text.toUcs4().value(0);
    if (first < 0x20 || (first >= 0x7F && first < 0xA0))
        return false;
    return first < 0xF700 || first > 0xF8FF;
}

SnippetPicker::Result SnippetPicker::reduce(const State& state, const Key& key, double now)
{
    switch (key.code) {
    case returnKey:
    case keypadEnterKey:
        if (key.isKeyUp && state.highlighted >= 0 && state.highlighted < state.rowCount)
            return {state, Effect::insert, true};
        return {state, Effect::none, true};
    case escapeKey:
        return {state, key.isKeyUp ? Effect::none : Effect::close, true};
    case semicolonKey:
        if (key.isKeyUp)
            return {state, Effect::none, false};
        return {state, key.isRepeat ? Effect::none : Effect::close, true};
    case downKey:
        return key.isKeyUp ? Result{state, Effect::none, true} : moved(state, 1);
    case upKey:
        return key.isKeyUp ? Result{state, Effect::none, true} : moved(state, -1);
    case deleteKey:
        return key.isKeyUp ? Result{state, Effect::none, true} : deleted(state, now);
    default:
        break;
    }
    if (key.isKeyUp || !types(key.characters))
        return {state, Effect::none, false};
    State next = state;
    next.query += key.characters;
    next.highlighted = 0;
    next.lastEmptyDelete = distantPast;
    return {next, Effect::refresh, true};
}

} // namespace quillon
