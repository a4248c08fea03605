#include "platform/WindowEvents.h"

namespace quillon::platform {

QString rawValue(WindowNotification notification)
{
    switch (notification) {
    case WindowNotification::focusedWindowChanged: return QStringLiteral("focusedWindowChanged");
    case WindowNotification::mainWindowChanged: return QStringLiteral("mainWindowChanged");
    case WindowNotification::windowCreated: return QStringLiteral("windowCreated");
    case WindowNotification::elementDestroyed: return QStringLiteral("elementDestroyed");
    case WindowNotification::windowMinimized: return QStringLiteral("windowMinimized");
    case WindowNotification::windowUnminimized: return QStringLiteral("windowUnminimized");
    case WindowNotification::titleChanged: return QStringLiteral("titleChanged");
    }
    return QString();
}

QString rawValue(RegistrationStatus status)
{
    switch (status) {
    case RegistrationStatus::success: return QStringLiteral("success");
    case RegistrationStatus::alreadyRegistered: return QStringLiteral("alreadyRegistered");
    case RegistrationStatus::invalidElement: return QStringLiteral("invalidElement");
    case RegistrationStatus::cannotComplete: return QStringLiteral("cannotComplete");
    }
    return QString();
}

} // namespace quillon::platform
