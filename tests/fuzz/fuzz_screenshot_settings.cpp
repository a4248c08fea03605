// Feeds arbitrary bytes to the reader of the screenshot tools' settings
// files: the bytes up to the first NUL as a `spectaclerc`, the rest as a
// `flameshot.ini`. Whatever they say, the save folder is an absolute,
// existing folder.

#include "fakes/FakePlatform.h"
#include "platform/linux/InotifyScreenshots.h"
#include "shelf/ScreenshotWatcher.h"

#include <QDir>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fakes::FakePlatform fake;
    static const bool folders =
        QDir().mkpath(fake.paths().picturesDir()) && QDir().mkpath(fake.paths().home());
    (void)folders;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf('\0');
    const QByteArray spectacle = split < 0 ? bytes : bytes.left(split);
    const QByteArray flameshot = split < 0 ? QByteArray() : bytes.mid(split + 1);
    const auto location = platform::linux_::InotifyScreenshots::locationOfToolSettings(spectacle, flameshot);
    const QString folder = ScreenshotWatcher::saveDirectory(location);
    if (!folder.startsWith(QLatin1Char('/')) || !QFileInfo(folder).isDir())
        std::abort();
    return 0;
}
