// Expands arbitrary snippet bodies (any placeholder, offset or ICU pattern)
// at a fixed instant, locale and zone. Run with -timeout=1: no body may take
// a second, whatever its offsets.

#include "fakes/FakePlatform.h"
#include "features/snippets/SnippetStore.h"

#include <cstdint>
#include <memory>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fakes::FakePlatform fake;
    static const bool once = [] {
        fake.queue.setNow(QDateTime(QDate(2024, 1, 31), QTime(23, 30), Qt::UTC));
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("de_DE"), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Asia/Tokyo"));
        return true;
    }();
    (void)once;
    static const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone("UTC"));
    const QString body = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    SnippetStore::expandDateTokens(body, fake.queue.now(), icu::Locale("en_US"), *zone);
    SnippetStore::expand(body, body.left(64));
    return 0;
}
