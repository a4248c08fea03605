// The placeholder side of SnippetStore: dates through ICU (Qt's formats are
// not Unicode patterns), identifiers, the clipboard and the caret.
#include "features/snippets/SnippetStore.h"

#include "features/clipboard/ClipboardStore.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "support/TextPreview.h"

#include <QRegularExpression>
#include <cmath>
#include <memory>
#include <unicode/datefmt.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

namespace quillon {

namespace {

icu::UnicodeString toIcu(const QString& text)
{
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
}

QString fromIcu(const icu::UnicodeString& text)
{
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

// A unit's nominal length in seconds, long enough never to understate it.
double nominalSeconds(UCalendarDateFields field)
{
    switch (field) {
    case UCAL_WEEK_OF_YEAR:
        return 7 * 86400.0;
    case UCAL_MONTH:
        return 31 * 86400.0;
    case UCAL_YEAR:
        return 366 * 86400.0;
    case UCAL_HOUR_OF_DAY:
        return 3600.0;
    case UCAL_MINUTE:
        return 60.0;
    case UCAL_SECOND:
        return 1.0;
    default:
        return 86400.0;
    }
}

// ICU clamps or wraps a date that leaves its range (about 5.8 million years
// either way) without an error: a shift beyond this counts as too large for
// the calendar, and the date stays as it was.
constexpr double largestShiftSeconds = 5'000'000 * 366 * 86400.0;

UDate shifted(UDate at, qint64 amount, const QString& unit, const icu::Locale& locale,
              const icu::TimeZone& zone)
{
    const UCalendarDateFields field = SnippetStore::component(unit);
    const double seconds = std::fabs(double(amount)) * nominalSeconds(field);
    if (seconds > largestShiftSeconds)
        return at;
    // ICU's add takes at most 2^31 units: hours, minutes and seconds go onto
    // the instant as milliseconds instead.
    if (field == UCAL_HOUR_OF_DAY || field == UCAL_MINUTE || field == UCAL_SECOND)
        return at + double(amount) * nominalSeconds(field) * 1000.0;
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar calendar(zone, locale, status);
    calendar.setTime(at, status);
    calendar.add(field, int32_t(amount), status);
    const UDate result = calendar.getTime(status);
    return U_SUCCESS(status) ? result : at;
}

QString replacement(const QRegularExpressionMatch& match, UDate date, const icu::Locale& locale,
                    const icu::TimeZone& zone)
{
    UDate at = date;
    if (match.capturedStart(2) >= 0) {
        QString digits = match.captured(2);
        if (digits.startsWith(u'+'))
            digits.remove(0, 1);
        bool ok = false;
        const qint64 amount = digits.toLongLong(&ok); // beyond 64 bits counts as 0
        if (ok && amount != 0)
            at = shifted(at, amount, match.captured(3), locale, zone);
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateFormat> format;
    if (match.capturedStart(4) >= 0)
        format = std::make_unique<icu::SimpleDateFormat>(toIcu(match.captured(4)), locale, status);
    else if (match.captured(1) == QLatin1String("time"))
        format.reset(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    else
        format.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
    if (!format || U_FAILURE(status))
        return QString();
    format->setTimeZone(zone);
    icu::UnicodeString text;
    format->format(at, text);
    return fromIcu(text);
}

} // namespace

const QRegularExpression& SnippetStore::dateTokenRegex()
{
    static const QRegularExpression regex(
        QStringLiteral(R"(\{(date|time)(?:([+-]\d+)(mo|[dwyhms]))?(?::([^}]*))?\})"));
    Q_ASSERT(regex.isValid());
    return regex;
}

UCalendarDateFields SnippetStore::component(const QString& unit)
{
    if (unit == QLatin1String("w"))
        return UCAL_WEEK_OF_YEAR;
    if (unit == QLatin1String("mo"))
        return UCAL_MONTH;
    if (unit == QLatin1String("y"))
        return UCAL_YEAR;
    if (unit == QLatin1String("h"))
        return UCAL_HOUR_OF_DAY;
    if (unit == QLatin1String("m"))
        return UCAL_MINUTE;
    if (unit == QLatin1String("s"))
        return UCAL_SECOND;
    return UCAL_DATE;
}

const std::vector<std::pair<QString, QString>>& SnippetStore::placeholderCatalog()
{
    static const std::vector<std::pair<QString, QString>> catalog{
        {QStringLiteral("{date}"), QStringLiteral("today's date")},
        {QStringLiteral("{time}"), QStringLiteral("the current time")},
        {QStringLiteral("{date+1d}"),
         QStringLiteral("offset date \u2014 units d w mo y (also h m s); minute is m, month is mo")},
        {QStringLiteral("{date:yyyy-MM-dd}"), QStringLiteral("custom format (yyyy MM dd HH mm \u2026)")},
        {QStringLiteral("{time:HH:mm}"), QStringLiteral("custom time format")},
        {QStringLiteral("{uuid}"), QStringLiteral("a fresh random ID each time")},
        {QStringLiteral("{clipboard}"), QStringLiteral("whatever you last copied")},
        {QStringLiteral("{cursor}"),
         QStringLiteral("where the typing caret lands after inserting \u2014 use once")},
    };
    return catalog;
}

QString SnippetStore::expandDateTokens(const QString& text, const QDateTime& date, const icu::Locale& locale,
                                       const icu::TimeZone& timeZone)
{
    QRegularExpressionMatchIterator it = dateTokenRegex().globalMatch(text);
    if (!it.hasNext())
        return text;
    const UDate at = UDate(date.toMSecsSinceEpoch());
    QString result;
    qsizetype copied = 0;
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += QStringView(text).mid(copied, match.capturedStart() - copied);
        result += replacement(match, at, locale, timeZone);
        copied = match.capturedEnd();
    }
    result += QStringView(text).mid(copied);
    return result;
}

SnippetStore::Expansion SnippetStore::expand(const QString& body, const std::optional<QString>& clipboard)
{
    if (!body.contains(u'{'))
        return {body, std::nullopt};
    const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
    QString text =
        expandDateTokens(body, platform::platform().clock().now(), icu::Locale::getDefault(), *zone);

    const QString uuidToken = QStringLiteral("{uuid}");
    for (qsizetype at = text.indexOf(uuidToken); at >= 0; at = text.indexOf(uuidToken, at)) {
        const QString id = uuidSource().toString(QUuid::WithoutBraces).toLower();
        text.replace(at, uuidToken.size(), id);
        at += id.size();
    }
    text.replace(QStringLiteral("{clipboard}"), clipboard.value_or(QString()));

    const QString cursorToken = QStringLiteral("{cursor}");
    const qsizetype cursor = text.indexOf(cursorToken);
    if (cursor < 0)
        return {text, std::nullopt};
    const QString after = text.mid(cursor + cursorToken.size()).remove(cursorToken);
    return {text.left(cursor) + after, TextPreview::graphemeCount(after)};
}

QString SnippetStore::placeholderExample(const QString& token, const std::optional<QString>& clipboard)
{
    if (token == QLatin1String("{cursor}"))
        return QStringLiteral("caret marker (removed on insert)");
    if (token == QLatin1String("{clipboard}")) {
        if (!clipboard || clipboard->isEmpty())
            return QStringLiteral("(clipboard empty)");
        return ClipboardStore::preview(*clipboard, 40);
    }
    return expand(token, clipboard).text;
}

} // namespace quillon
