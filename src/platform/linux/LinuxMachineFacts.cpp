#include "platform/linux/LinuxMachineFacts.h"

#include <QFile>
#include <QSysInfo>
#include <unistd.h>

namespace quillon::platform::linux_ {

namespace {

QString readFirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

} // namespace

MachineFacts readMachineFacts()
{
    MachineFacts facts;
    const QString product = readFirstLine(QStringLiteral("/sys/class/dmi/id/product_name"));
    const QString vendor = readFirstLine(QStringLiteral("/sys/class/dmi/id/sys_vendor"));
    if (!product.isEmpty())
        facts.model = vendor.isEmpty() || product.startsWith(vendor) ? product : vendor + QLatin1Char(' ') + product;
    facts.architecture = QSysInfo::currentCpuArchitecture();
    facts.cores = int(sysconf(_SC_NPROCESSORS_ONLN));
    facts.memoryBytes = qint64(sysconf(_SC_PHYS_PAGES)) * qint64(sysconf(_SC_PAGESIZE));
    return facts;
}

} // namespace quillon::platform::linux_
