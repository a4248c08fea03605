#include "support/MachineInfo.h"

#include "platform/Platform.h"

#include <QFile>
#include <QSysInfo>
#include <unistd.h>

namespace quillon {

namespace {

QString readFirstLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readLine()).trimmed();
}

} // namespace

QString MachineInfo::model()
{
    const QString product = readFirstLine(QStringLiteral("/sys/class/dmi/id/product_name"));
    if (product.isEmpty())
        return QStringLiteral("unknown model");
    const QString vendor = readFirstLine(QStringLiteral("/sys/class/dmi/id/sys_vendor"));
    if (vendor.isEmpty() || product.startsWith(vendor))
        return product;
    return vendor + QLatin1Char(' ') + product;
}

QString MachineInfo::architecture() { return QSysInfo::currentCpuArchitecture(); }

QString MachineInfo::describeDisplays(const std::vector<platform::Screen>& screens)
{
    if (screens.empty())
        return QStringLiteral("no displays");
    QStringList entries;
    for (const auto& screen : screens) {
        QString entry = QStringLiteral("%1\u00d7%2").arg(int(screen.frame.width())).arg(int(screen.frame.height()));
        if (screen.safeAreaTop > 0)
            entry += QStringLiteral("+notch");
        entries << entry;
    }
    return QStringLiteral("%1 display(s) (%2)").arg(screens.size()).arg(entries.join(QStringLiteral(", ")));
}

QString MachineInfo::displays() { return describeDisplays(platform::platform().displays().screens()); }

QString MachineInfo::summary()
{
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    const qint64 memory = qint64(sysconf(_SC_PHYS_PAGES)) * qint64(sysconf(_SC_PAGESIZE));
    return QStringList{model(), architecture(), QStringLiteral("%1 cores").arg(cores),
                       QStringLiteral("%1 GB").arg(memory >> 30), displays()}
        .join(QStringLiteral(" \u00b7 "));
}

} // namespace quillon
