#pragma once

#include "platform/AppShell.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace quillon::platform::linux_ {

class X11Connection;

/// The application on a Linux desktop. The single instance is a well-known
/// name on the session bus (the application id); the instance that holds it
/// serves org.freedesktop.Application at the id's object path, whose Activate
/// is the reopen request of a second launch (and of desktop launchers that
/// start applications over D-Bus).
class QtAppShell final : public AppShell {
public:
    struct Options {
        QString appId;
        /// The program and arguments a relaunch starts.
        QString program;
        QStringList arguments;
        /// Ends the event loop.
        std::function<void()> quit;
    };
    /// This process: its own program and arguments, quitting the QApplication.
    explicit QtAppShell(const QString& appId);
    explicit QtAppShell(Options options);
    ~QtAppShell() override;

    Claim claimSingleInstance(bool waitForRelease) override;
    bool requestReopen() override;
    void setReopenHandler(std::function<void()> handler) override;
    bool relaunch() override;
    void terminate(int status = 0) override;
    void bringToFront(QWidget& window) override;
    void setAppearance(Appearance appearance) override;
    Appearance appearance() const override { return m_appearance; }
    bool anotherInstanceIsRunning() const override;

    /// "/app/quillon/Quillon" for "app.quillon.Quillon".
    static QString objectPath(const QString& appId);

private:
    class ReopenTarget;
    Options m_options;
    // Opened on the first bringToFront(); none without an X display.
    std::unique_ptr<X11Connection> m_x;
    bool m_triedX = false;
    std::unique_ptr<ReopenTarget> m_target;
    bool m_ownsName = false;
    Appearance m_appearance = Appearance::light;
};

} // namespace quillon::platform::linux_
