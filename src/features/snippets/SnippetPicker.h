#pragma once

#include <QString>
#include <limits>

namespace quillon {

/// The snippet picker's key rules: what each key does to the query and the
/// highlight while the picker is open, and whether the focused window still
/// gets the key. Pure, so the whole table can be checked as data.
class SnippetPicker {
public:
    SnippetPicker() = delete;

    static constexpr int returnKey = 36;
    static constexpr int keypadEnterKey = 76;
    static constexpr int escapeKey = 53;
    /// The key that gives ":", the chord that opened the picker.
    static constexpr int semicolonKey = 41;
    static constexpr int downKey = 125;
    static constexpr int upKey = 126;
    static constexpr int deleteKey = 51;
    static constexpr int leftKey = 123;
    /// Two Deletes on an empty query within this many seconds close.
    static constexpr double doubleDeleteWindow = 0.8;

    struct State {
        QString query;
        /// Rows listed for `query`.
        int rowCount = 0;
        int highlighted = 0;
        /// Uptime of the last Delete on an empty query; far past when none.
        double lastEmptyDelete = -std::numeric_limits<double>::infinity();
        bool operator==(const State&) const = default;
    };

    struct Key {
        int code = -1;
        bool isKeyUp = false;
        bool isRepeat = false;
        /// The text the key types.
        QString characters;
    };

    enum class Effect {
        none,
        /// The query changed: list its matches and highlight row 0.
        refresh,
        /// The highlight moved to `State::highlighted`.
        highlight,
        close,
        /// Close, then insert the highlighted row.
        insert,
    };

    struct Result {
        State state;
        Effect effect = Effect::none;
        /// Whether the focused window is kept from seeing the key.
        bool swallow = false;
    };

    static Result reduce(const State& state, const Key& key, double now);

    /// Whether a key's text joins the query: exactly one character, neither
    /// a control character nor one of the codes that stand for arrow,
    /// function and navigation keys (U+F700…U+F8FF).
    static bool types(const QString& text);
};

} // namespace quillon
