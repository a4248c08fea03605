#include "fakes/FakePlatform.h"
#include "features/snippets/SnippetStore.h"

#include <QRegularExpression>
#include <gtest/gtest.h>
#include <memory>
#include <unicode/datefmt.h>
#include <unicode/unistr.h>

namespace quillon {
namespace {

const QDateTime instant(QDate(2024, 1, 31), QTime(23, 30), Qt::UTC);

QString styled(bool time, const icu::Locale& locale, const icu::TimeZone& zone, double shiftMs = 0)
{
    std::unique_ptr<icu::DateFormat> format(
        time ? icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale)
             : icu::DateFormat::createDateInstance(icu::DateFormat::kMedium, locale));
    format->setTimeZone(zone);
    icu::UnicodeString out;
    format->format(UDate(instant.toMSecsSinceEpoch()) + shiftMs, out);
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}

TEST(SnippetExpansion, DateTokensInEveryLocaleAndZone)
{
    struct Place {
        const char* locale;
        const char* zone;
        // yyyy-MM-dd and HH:mm of the instant there.
        const char* day;
        const char* clock;
    };
    const Place places[] = {
        {"en_US", "UTC", "2024-01-31", "23:30"},
        {"de_DE", "UTC", "2024-01-31", "23:30"},
        {"en_US", "Asia/Tokyo", "2024-02-01", "08:30"},
        {"de_DE", "Asia/Tokyo", "2024-02-01", "08:30"},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(std::string(place.locale) + " " + place.zone);
        const icu::Locale locale(place.locale);
        const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(place.zone));
        const bool tokyo = QString(place.zone) == "Asia/Tokyo";
        const QString day = place.day;
        const QString clock = place.clock;
        struct Row {
            QString body;
            QString expected;
        };
        const Row rows[] = {
            {"{date}", styled(false, locale, *zone)},
            {"{time}", styled(true, locale, *zone)},
            {"{date-1d}", styled(false, locale, *zone, -86400e3)},
            {"{time+90m}", styled(true, locale, *zone, 90 * 60e3)},
            {"{date+1d:yyyy-MM-dd}", tokyo ? "2024-02-02" : "2024-02-01"},
            {"{date+1w:yyyy-MM-dd}", tokyo ? "2024-02-08" : "2024-02-07"},
            {"{date+1mo:yyyy-MM-dd}", tokyo ? "2024-03-01" : "2024-02-29"}, // Jan 31 + 1 month
            {"{date+2mo:yyyy-MM-dd}", tokyo ? "2024-04-01" : "2024-03-31"},
            {"{date+1y:yyyy-MM-dd}", tokyo ? "2025-02-01" : "2025-01-31"},
            {"{date+1h:HH}", tokyo ? "09" : "00"},
            {"{date+1m:yyyy-MM-dd HH:mm}", day + (tokyo ? " 08:31" : " 23:31")}, // a minute, not a month
            {"{date+30s:HH:mm:ss}", clock + ":30"},
            {"{time:HH:mm}", clock},
            {"{date:HH:mm}", clock},
            {"{date:}", ""},
            {"{date+1000000y:y}", "1002024"},
            {"{date+6000000y:yyyy-MM-dd}", day},
            {"{date-6000000y:yyyy-MM-dd}", day},
            {"{date+9223372036854775807s:yyyy-MM-dd}", day},
            {"{date+9223372036854775807y:yyyy-MM-dd}", day},
            {"{date+99999999999999999999d:yyyy-MM-dd}", day}, // beyond 64 bits: no shift
            {"{Date} {date+1} {date +1d} {now} {date:", "{Date} {date+1} {date +1d} {now} {date:"},
            {"at {date:yyyy} and {time:HH}!", QString("at 2024 and ") + (tokyo ? "08" : "23") + "!"},
        };
        for (const Row& row : rows)
            EXPECT_EQ(SnippetStore::expandDateTokens(row.body, instant, locale, *zone), row.expected)
                << row.body.toStdString();
    }
    EXPECT_EQ(SnippetStore::component("mo"), UCAL_MONTH);
    EXPECT_EQ(SnippetStore::component("m"), UCAL_MINUTE);
    EXPECT_EQ(SnippetStore::component("w"), UCAL_WEEK_OF_YEAR);
    EXPECT_EQ(SnippetStore::component("x"), UCAL_DATE);
}

class SnippetExpansionTest : public ::testing::Test {
protected:
    SnippetExpansionTest()
    {
        fake.queue.setNow(instant);
        UErrorCode status = U_ZERO_ERROR;
        m_locale = icu::Locale::getDefault();
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        m_zone.reset(icu::TimeZone::createDefault());
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
    }
    ~SnippetExpansionTest() override
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(m_locale, status);
        icu::TimeZone::setDefault(*m_zone);
    }
    fakes::FakePlatform fake;
    icu::Locale m_locale;
    std::unique_ptr<icu::TimeZone> m_zone;
};

TEST_F(SnippetExpansionTest, ExpandFillsIdentifiersClipboardAndCaret)
{
    using Expansion = SnippetStore::Expansion;
    struct Row {
        QString body;
        std::optional<QString> clipboard;
        Expansion expected;
    };
    const Row rows[] = {
        {"no braces } here", "clip", {"no braces } here", std::nullopt}},
        {"Dear {cursor},", std::nullopt, {"Dear ,", 1}},
        {"end{cursor}", std::nullopt, {"end", 0}},
        {"a{cursor}b{cursor}c", std::nullopt, {"abc", 2}},
        {"[{clipboard}]", std::nullopt, {"[]", std::nullopt}},
        {"[{clipboard}]", "{uuid}", {"[{uuid}]", std::nullopt}}, // identifiers come before the clipboard
        {"<{clipboard}>", "x{cursor}y", {"<xy>", 2}},            // the caret comes after it
        {"{date:yyyy}{cursor}\U0001F1E9\U0001F1EA", std::nullopt, {"2024\U0001F1E9\U0001F1EA", 1}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(SnippetStore::expand(row.body, row.clipboard), row.expected) << row.body.toStdString();

    const QString ids = SnippetStore::expand("{uuid} {uuid}", std::nullopt).text;
    const QRegularExpression shape(
        "^([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}) ([0-9a-f-]{36})$");
    const QRegularExpressionMatch match = shape.match(ids);
    ASSERT_TRUE(match.hasMatch()) << ids.toStdString();
    EXPECT_NE(match.captured(1), match.captured(2));
}

TEST_F(SnippetExpansionTest, CatalogAndExamples)
{
    const auto& catalog = SnippetStore::placeholderCatalog();
    ASSERT_EQ(catalog.size(), 8u);
    EXPECT_EQ(catalog[2].first, "{date+1d}");
    EXPECT_EQ(catalog[7].second, QString("where the typing caret lands after inserting \u2014 use once"));
    EXPECT_EQ(SnippetStore::placeholderExample("{cursor}", "x"), "caret marker (removed on insert)");
    EXPECT_EQ(SnippetStore::placeholderExample("{clipboard}", std::nullopt), "(clipboard empty)");
    EXPECT_EQ(SnippetStore::placeholderExample("{clipboard}", ""), "(clipboard empty)");
    EXPECT_EQ(SnippetStore::placeholderExample("{clipboard}", "  two   words\nmore"), "two words");
    EXPECT_EQ(SnippetStore::placeholderExample("{date:yyyy-MM-dd}", std::nullopt), "2024-01-31");
}

TEST(SnippetSearch, MatchesAndCompletions)
{
    const std::vector<Snippet> snippets{
        {QUuid::createUuid(), "sig", "Best regards"},
        {QUuid::createUuid(), "addr", "see sig below"},
        {QUuid::createUuid(), "mysig", "x"},
        {QUuid::createUuid(), "Sign-off", "y"},
        {QUuid::createUuid(), "\u212Aelvin", "ÄRGER über"}, // the Kelvin sign lower-cases to k
    };
    struct Row {
        QString query;
        QStringList triggers;
    };
    const Row rows[] = {
        {"sig", {"sig", "Sign-off", "mysig", "addr"}},
        {"  :SIG\t", {"sig", "Sign-off", "mysig", "addr"}},
        {"   ", {"sig", "addr", "mysig", "Sign-off", "\u212Aelvin"}},
        {"::", {"sig", "addr", "mysig", "Sign-off", "\u212Aelvin"}},
        {": ", {"sig", "addr", "mysig", "Sign-off", "\u212Aelvin"}},
        {"regards", {"sig"}},
        {"n-o", {"Sign-off"}},
        {"s:", {}},
        {"zzz", {}},
        {"KEL", {"\u212Aelvin"}},
        {"är", {"\u212Aelvin"}},
    };
    for (const Row& row : rows) {
        QStringList triggers;
        for (const Snippet& s : SnippetStore::matches(row.query, snippets))
            triggers << s.trigger;
        EXPECT_EQ(triggers, row.triggers) << row.query.toStdString();
    }

    struct Completion {
        QString word;
        int count;
    };
    const Completion completions[] = {{"{", 8}, {"{d", 3}, {"{T", 2}, {"{x", 0}, {"date", 0}, {"{date:", 1}};
    for (const Completion& row : completions)
        EXPECT_EQ(SnippetStore::completions(row.word).size(), row.count) << row.word.toStdString();
    EXPECT_EQ(SnippetStore::completions("{T"), QStringList({"{time}", "{time:HH:mm}"}));
}

} // namespace
} // namespace quillon
