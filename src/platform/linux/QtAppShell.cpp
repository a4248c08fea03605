#include "platform/linux/QtAppShell.h"

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"
#include "support/Log.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVirtualObject>
#include <QPalette>
#include <QProcess>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

const QString kApplicationInterface = QStringLiteral("org.freedesktop.Application");

QDBusMessage busCall(const QString& method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                          QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(235, 235, 240), disabled(128, 128, 132);
    const QColor highlight(10, 132, 255);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(125));
    p.setColor(QPalette::Dark, window.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, highlight.lighter(120));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

} // namespace

/// Answers Activate on the application's object path.
class QtAppShell::ReopenTarget final : public QDBusVirtualObject {
public:
    std::function<void()> handler;

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != kApplicationInterface || message.member() != QLatin1String("Activate"))
            return false;
        connection.send(message.createReply());
        Log::debug("Reopen requested by another launch");
        if (handler)
            handler();
        return true;
    }

    QString introspect(const QString&) const override
    {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.Application\">"
            "<method name=\"Activate\"><arg type=\"a{sv}\" name=\"platform_data\" direction=\"in\"/>"
            "</method></interface>");
    }
};

QtAppShell::QtAppShell(const QString& appId)
    : QtAppShell(
          Options{appId, QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1),
                  [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); }})
{
}

QtAppShell::QtAppShell(Options options)
    : m_options(std::move(options))
    , m_target(std::make_unique<ReopenTarget>())
{
    m_options.arguments.removeAll(QString::fromLatin1(relaunchArgument));
}

QtAppShell::~QtAppShell()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.unregisterObject(objectPath(m_options.appId));
    if (m_ownsName)
        bus.interface()->unregisterService(m_options.appId);
}

QString QtAppShell::objectPath(const QString& appId)
{
    QString path = QLatin1Char('/') + appId;
    path.replace(QLatin1Char('.'), QLatin1Char('/')).replace(QLatin1Char('-'), QLatin1Char('_'));
    return path;
}

AppShell::Claim QtAppShell::claimSingleInstance(bool waitForRelease)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Log::debug("No session bus: running without the single-instance check");
        return Claim::unavailable;
    }
    bus.registerVirtualObject(objectPath(m_options.appId), m_target.get(), QDBusConnection::SingleNode);
    const auto reply = bus.interface()->registerService(
        m_options.appId,
        waitForRelease ? QDBusConnectionInterface::QueueService : QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        Log::error(QStringLiteral("Could not claim %1 on the session bus: %2")
                       .arg(m_options.appId, reply.error().message()));
        return Claim::unavailable;
    }
    switch (reply.value()) {
    case QDBusConnectionInterface::ServiceRegistered:
        m_ownsName = true;
        return Claim::claimed;
    case QDBusConnectionInterface::ServiceQueued:
        // The name comes once the holder lets go; then this process owns it.
        m_ownsName = true;
        return Claim::queued;
    case QDBusConnectionInterface::ServiceNotRegistered:
        break;
    }
    return Claim::anotherRunning;
}

bool QtAppShell::requestReopen()
{
    QDBusMessage call = QDBusMessage::createMethodCall(m_options.appId, objectPath(m_options.appId),
                                                       kApplicationInterface, QStringLiteral("Activate"));
    call << QVariantMap();
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void QtAppShell::setReopenHandler(std::function<void()> handler)
{
    m_target->handler = std::move(handler);
}

// The name is let go first, so the new process can take it at once; this one
// quits only once the new one has really started. When it cannot start, the
// name is taken back and this instance carries on.
bool QtAppShell::relaunch()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool released = m_ownsName && bus.isConnected();
    if (released) {
        // Sent without waiting: the bus handles it before anything the new
        // process asks, and the new process queues for the name anyway.
        bus.asyncCall(busCall(QStringLiteral("ReleaseName")) << m_options.appId);
        m_ownsName = false;
    }
    QStringList arguments = m_options.arguments;
    arguments << QString::fromLatin1(relaunchArgument);
    qint64 pid = 0;
    if (QProcess::startDetached(m_options.program, arguments, QString(), &pid)) {
        Log::debug([&] { return QStringLiteral("Relaunched as process %1; quitting").arg(pid); });
        m_options.quit();
        return true;
    }
    if (released) {
        // Taken back without waiting; the name is ours again once the bus says so.
        constexpr uint doNotQueue = 0x4; // DBUS_NAME_FLAG_DO_NOT_QUEUE
        auto* watcher = new QDBusPendingCallWatcher(
            bus.asyncCall(busCall(QStringLiteral("RequestName")) << m_options.appId << doNotQueue),
            m_target.get());
        QObject::connect(
            watcher, &QDBusPendingCallWatcher::finished, watcher, [this](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                constexpr uint primaryOwner = 1; // DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER
                m_ownsName = !reply.isError() && reply.value() == primaryOwner;
                if (!m_ownsName)
                    Log::error(
                        QStringLiteral("Could not take back %1 on the session bus").arg(m_options.appId));
            });
    }
    Log::error(QStringLiteral("Relaunch failed: %1 could not be started; this instance keeps running")
                   .arg(m_options.program));
    return false;
}

void QtAppShell::terminate(int status)
{
    if (status == 0) {
        m_options.quit();
        return;
    }
    QMetaObject::invokeMethod(
        qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
}

void QtAppShell::setAppearance(Appearance appearance)
{
    m_appearance = appearance;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    // Fusion draws every control from the palette, so one palette switches
    // the whole look whatever the desktop's own style is.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(appearance == Appearance::dark ? darkPalette()
                                                            : QApplication::style()->standardPalette());
}

bool QtAppShell::anotherInstanceIsRunning() const
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return false;
    const pid_t own = ::getpid();
    const uid_t user = ::getuid();
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() ||
            !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (std::stol(name) == own)
            continue;
        struct stat info {};
        if (::stat(entry.path().c_str(), &info) != 0 || info.st_uid != user)
            continue;
        std::error_code linkError;
        // A process of another user, or one that has ended, cannot be read: not ours.
        if (std::filesystem::read_symlink(entry.path() / "exe", linkError) == self && !linkError)
            return true;
    }
    return false;
}

void QtAppShell::bringToFront(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
    if (!m_triedX) {
        m_triedX = true;
        m_x = X11Connection::open();
    }
    if (!m_x || !window.windowHandle())
        return;
    Ewmh ewmh(*m_x);
    const auto id = xcb_window_t(window.winId());
    if (const auto desktop = ewmh.cardinal(m_x->root(), "_NET_CURRENT_DESKTOP"))
        ewmh.sendToRoot(id, "_NET_WM_DESKTOP", *desktop, 2);
    ewmh.activate(id);
}

} // namespace quillon::platform::linux_
