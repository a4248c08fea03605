#pragma once

#include "features/snippets/Snippet.h"

#include <QDateTime>
#include <QJsonArray>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>
#include <utility>
#include <vector>

class QRegularExpression;

namespace quillon {

/// The snippets, kept in "Snippets.json", and the static operations on
/// snippet bodies: placeholder expansion, search and completions.
class SnippetStore {
public:
    explicit SnippetStore(QString fileURL);

    const QString& fileURL() const { return m_fileURL; }

    /// The list in stored order, read from the file on first use. A file that
    /// does not decode as a whole is moved aside, logged, and reads as empty.
    const std::vector<Snippet>& all();
    /// Forgets the list, so the next `all` reads the file again.
    void dropCache() { m_cache.reset(); }

    /// Adds or replaces the snippet (by id) and removes any other snippet with
    /// the same trigger; writes the file.
    void save(const Snippet& snippet);
    /// Removes the snippet; writes the file only when one was removed.
    void remove(const QUuid& id);
    /// The backup's "snippets" section: trigger and body of each, no ids.
    QJsonArray exportEntries();
    /// Takes a backup's "snippets" section: each usable entry replaces any
    /// snippet of its trigger and goes to the end with a new id. Answers how
    /// many were taken; writes the file when any was.
    int importEntries(const QJsonArray& entries);

    /// Triggers are equal when their lower-case forms are.
    static bool sameTrigger(const QString& a, const QString& b);
    /// A "Snippets.json" document; none when any element is unusable.
    static std::optional<std::vector<Snippet>> decode(const QByteArray& data);
    static QByteArray encode(const std::vector<Snippet>& list);
    /// Where new ids come from; tests may replace it.
    static std::function<QUuid()> uuidSource;

    // Placeholder expansion.

    struct Expansion {
        QString text;
        /// Characters between the caret's place and the end of `text`;
        /// none when the body has no "{cursor}".
        std::optional<qsizetype> caretOffsetFromEnd;
        bool operator==(const Expansion&) const = default;
    };
    static const QRegularExpression& dateTokenRegex();
    /// The calendar field an offset unit adds to (day for any unknown unit).
    static UCalendarDateFields component(const QString& unit);
    /// Token and description of every placeholder, in the editor's order.
    static const std::vector<std::pair<QString, QString>>& placeholderCatalog();
    /// Replaces the date and time tokens only.
    static QString expandDateTokens(const QString& text, const QDateTime& date, const icu::Locale& locale,
                                    const icu::TimeZone& timeZone);
    /// The text to insert, at the current time, locale and zone, with a
    /// clipboard text (or none).
    static Expansion expand(const QString& body, const std::optional<QString>& clipboard);
    /// The example shown beside a catalogue token.
    static QString placeholderExample(const QString& token, const std::optional<QString>& clipboard);

    // Search.

    /// The snippets matching the picker's query, best first.
    static std::vector<Snippet> matches(const QString& query, const std::vector<Snippet>& snippets);
    /// The catalogue tokens that complete a word starting with "{".
    static QStringList completions(const QString& partialWord);

private:
    void persist(std::vector<Snippet> list);

    QString m_fileURL;
    std::optional<std::vector<Snippet>> m_cache;
};

} // namespace quillon
