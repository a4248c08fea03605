#include "app/AppDelegate.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/QuitSignals.h"
#include "support/AppIcon.h"
#include "support/CrashReporter.h"
#include "support/Log.h"

#include <QApplication>

#include <cstdio>

using namespace quillon;

namespace {

// One Quillon per session: a second launch asks the running one to show
// itself and ends. A relaunch queues for the name its predecessor is letting
// go of; a --settings-png run renders and quits by itself and leaves the name
// alone.
bool becomeTheOneInstance(const QStringList& arguments)
{
    const qsizetype png = arguments.indexOf(QStringLiteral("--settings-png"));
    if (png >= 1 && png + 1 < arguments.size())
        return true;
    auto& shell = platform::platform().appShell();
    const bool relaunched = arguments.contains(QString::fromLatin1(platform::AppShell::relaunchArgument));
    if (shell.claimSingleInstance(relaunched) != platform::AppShell::Claim::anotherRunning)
        return true;
    if (!shell.requestReopen())
        std::fputs("quillon: another instance holds the session's name but does not answer\n", stderr);
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    // Quillon works with X11 windows, keys and workspaces; it runs on the xcb
    // platform even where a Wayland compositor offers Xwayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(AppIcon::icon());

    platform::linux_::LinuxPlatform linuxPlatform;
    platform::setPlatform(&linuxPlatform);
    QApplication::setDesktopFileName(linuxPlatform.buildInfo().appId);

    // The crash reporter goes in before anything else can fail; start-up
    // installs it again, which does nothing the second time. Logging stays off
    // until start-up reads the switch, so each run's log opens with its header.
    CrashReporter::install();
    if (!becomeTheOneInstance(QCoreApplication::arguments())) {
        platform::setPlatform(nullptr);
        return 0;
    }

    platform::linux_::QuitSignals quitSignals([](int) { QCoreApplication::quit(); });

    int status = 0;
    {
        AppDelegate delegate;
        auto& shell = platform::platform().appShell();
        shell.setReopenHandler([&delegate] { delegate.applicationShouldHandleReopen(); });
        // Start-up runs once the event loop does, as a launched application's would.
        const QStringList arguments = QCoreApplication::arguments();
        platform::platform().mainQueue().post(
            [&delegate, arguments] { delegate.applicationDidFinishLaunching(arguments); });
        status = QApplication::exec();
        delegate.applicationWillTerminate();
        shell.setReopenHandler(nullptr);
    }
    platform::setPlatform(nullptr);
    return status;
}
