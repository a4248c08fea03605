#pragma once

#include <memory>
#include <unicode/locid.h>
#include <unicode/timezone.h>

namespace quillon::testing {

/// Sets ICU's default locale and time zone for as long as it lives, so dates
/// expanded "now" read the same on every machine.
class FixedIcuDefaults {
public:
    FixedIcuDefaults(const char* locale, const char* zone)
        : m_locale(icu::Locale::getDefault())
        , m_zone(icu::TimeZone::createDefault())
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale(locale), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(zone));
    }
    ~FixedIcuDefaults()
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(m_locale, status);
        icu::TimeZone::setDefault(*m_zone);
    }
    FixedIcuDefaults(const FixedIcuDefaults&) = delete;
    FixedIcuDefaults& operator=(const FixedIcuDefaults&) = delete;

private:
    icu::Locale m_locale;
    std::unique_ptr<icu::TimeZone> m_zone;
};

} // namespace quillon::testing
