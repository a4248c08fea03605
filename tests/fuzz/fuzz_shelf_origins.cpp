// Feeds arbitrary bytes to the reader of a shelf item's ".origins" file. No
// origin may be empty, and origins without a line feed, written as the store
// writes them, must read back as they were.

#include "shelf/ShelfStore.h"

#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList origins = ShelfStore::parseOrigins(text);
    for (const QString& origin : origins)
        if (origin.isEmpty() || origin.contains(QLatin1Char('\n')))
            std::abort();
    if (ShelfStore::parseOrigins(origins.join(QLatin1Char('\n')).toUtf8()) != origins)
        std::abort();
    return 0;
}
