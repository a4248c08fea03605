#include "support/MachineInfo.h"

#include "platform/Platform.h"

namespace quillon {

QString MachineInfo::model()
{
    const QString model = platform::platform().machineFacts().model;
    return model.isEmpty() ? QStringLiteral("unknown model") : model;
}

QString MachineInfo::architecture() { return platform::platform().machineFacts().architecture; }

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
    const auto& facts = platform::platform().machineFacts();
    return QStringList{model(), architecture(), QStringLiteral("%1 cores").arg(facts.cores),
                       QStringLiteral("%1 GB").arg(facts.memoryBytes >> 30), displays()}
        .join(QStringLiteral(" \u00b7 "));
}

} // namespace quillon
