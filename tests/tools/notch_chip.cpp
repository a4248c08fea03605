// Shows one chip at the notch of the real desktop and quits once it is gone:
// `notch_chip [session|color|hints|battery|ocr] [seconds]`. For looking at the
// bar by eye (a screenshot while it is up) and for the desktop tests.

#include "notch/NotchController.h"
#include "notch/NotchStates.h"
#include "notch/ScreenSurface.h"
#include "platform/linux/LinuxPlatform.h"
#include "support/Symbols.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

using namespace quillon;

namespace {

NotchContent contentFor(const QString& kind)
{
    if (kind == QLatin1String("color"))
        return NotchStates::colorChip(QStringLiteral("#1E2A78"), QColor(0x1E, 0x2A, 0x78));
    if (kind == QLatin1String("battery"))
        return NotchStates::lowBatteryChip(8);
    if (kind == QLatin1String("ocr"))
        return NotchStates::ocrChip(QStringLiteral("The quick brown fox jumps over the lazy dog, twice"));
    if (kind == QLatin1String("hints")) {
        std::vector<NotchBarItem> items;
        for (const char* name : {"doc.fill", "tray.fill", "eye.fill", "gearshape.fill"}) {
            NotchBarItem item;
            item.icon = Symbols::image(QString::fromLatin1(name));
            item.badge = QString(QChar(u'A' + int(items.size())));
            item.running = items.size() % 2 == 0;
            items.push_back(item);
        }
        return NotchStates::leaderHints(items, QStringLiteral("press a key to jump"));
    }
    return NotchStates::sessionChip(true, 25);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    platform::linux_::LinuxPlatform linuxPlatform;
    platform::setPlatform(&linuxPlatform);

    const QStringList args = QApplication::arguments();
    const QString kind = args.value(1, QStringLiteral("session"));
    const double seconds = args.value(2, QStringLiteral("2.5")).toDouble();

    NotchController controller(std::make_shared<ScreenSurface>());
    controller.showChip(contentFor(kind), seconds, true);
    if (!controller.chipMount()) {
        std::fprintf(stderr, "notch_chip: no notch to show a chip at\n");
        return 1;
    }
    std::printf("shown\n");
    std::fflush(stdout);
    // The chip closes after its time; a little later everything is gone.
    QTimer::singleShot(int((seconds + 0.8) * 1000), &app, &QApplication::quit);
    const int status = QApplication::exec();
    platform::setPlatform(nullptr);
    return status;
}
