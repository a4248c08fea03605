#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/QuitSignals.h"
#include "support/Log.h"
#include "support/SessionHeader.h"

#include <QApplication>

using namespace quillon;

int main(int argc, char* argv[])
{
    // Quillon works with X11 windows, keys and workspaces; it runs on the xcb
    // platform even where a Wayland compositor offers Xwayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setQuitOnLastWindowClosed(false);

    platform::linux_::LinuxPlatform linuxPlatform;
    platform::setPlatform(&linuxPlatform);
    QApplication::setDesktopFileName(linuxPlatform.buildInfo().appId);

    Log::isDebugEnabled = platform::platform().userDefaults().standard().boolForKey(QStringLiteral("diagnostics.logging"));
    Log::session([] { return SessionHeader::atLaunch(); });

    platform::linux_::QuitSignals quitSignals([](int) { QCoreApplication::quit(); });

    const int status = QApplication::exec();
    Log::debug("Quillon quitting normally");
    platform::setPlatform(nullptr);
    return status;
}
