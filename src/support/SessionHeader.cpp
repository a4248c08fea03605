#include "support/SessionHeader.h"

#include "support/AboutInfo.h"
#include "support/MachineInfo.h"

#include <QSysInfo>

namespace quillon::SessionHeader {

namespace {

QString tail()
{
    return AboutInfo::current() + QStringLiteral(" \u00b7 Linux ") + QSysInfo::prettyProductName()
        + QStringLiteral(" \u00b7 ") + MachineInfo::summary();
}

} // namespace

QString atLaunch() { return QStringLiteral("Quillon ") + tail(); }

QString diagnosticsOn() { return QStringLiteral("Diagnostics on \u2014 Quillon ") + tail(); }

} // namespace quillon::SessionHeader
