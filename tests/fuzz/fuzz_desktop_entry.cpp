// Feeds arbitrary bytes to the reader of desktop entries and mimeapps.list
// files (both are installed by other packages and read as they are).

#include "platform/linux/DesktopEntry.h"

#include <cstdint>

using quillon::platform::linux_::DesktopEntry;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    if (const auto entry = DesktopEntry::parse(text)) {
        (void)entry->application(QStringLiteral("fuzz"), QStringLiteral("/fuzz.desktop"));
        (void)entry->localized(QStringLiteral("Name"));
        (void)DesktopEntry::program(entry->value(QStringLiteral("Exec")));
    }
    if (const auto defaults = DesktopEntry::parse(text, QStringLiteral("Default Applications")))
        (void)defaults->value(QStringLiteral("inode/directory")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return 0;
}
