// Feeds arbitrary text to the debug file's roll: where it cuts, and the
// session header it carries over. The cut stays inside the file, a roll of
// two or more lines always drops something, and the header carried over is
// a header line from the part dropped.

#include "support/FileLog.h"

#include <QDateTime>
#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace quillon;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes choose how long to retain; the rest is the file.
    uint32_t retainingSeconds = 86400;
    if (size >= sizeof retainingSeconds) {
        std::memcpy(&retainingSeconds, data, sizeof retainingSeconds);
        data += sizeof retainingSeconds;
        size -= sizeof retainingSeconds;
    }
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    static const QDateTime now =
        QDateTime::fromString(QStringLiteral("2026-03-01T09:15:02.481Z"), Qt::ISODateWithMs);

    const int cut = FileLog::cutIndex(lines, now, double(retainingSeconds));
    require(cut >= 0 && cut <= lines.size());
    if (lines.size() >= 2)
        require(cut > 0);

    const auto header = FileLog::sessionLine(cut, lines);
    if (header) {
        require(header->contains(FileLog::sessionMarker));
        require(lines.mid(0, cut).contains(*header));
    }
    for (const QString& line : lines)
        FileLog::parseTimestamp(line.section(QLatin1Char(' '), 0, 0));
    return 0;
}
