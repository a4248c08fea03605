#pragma once

#include "platform/XAttr.h"

#include <QHash>

#include <utility>
#include <vector>

namespace quillon::fakes {

/// Attributes held in memory by path, for temporary files whose file system
/// may not store user attributes. A path never set carries `everyFile`, as a
/// downloaded file would.
class FakeXAttr final : public platform::XAttr {
public:
    QStringList names(const QString& path) const override { return attributes.value(path, everyFile); }
    bool remove(const QString& path, const QString& name) override
    {
        if (!attributes.contains(path))
            attributes.insert(path, everyFile);
        if (attributes[path].removeAll(name) == 0)
            return false;
        removed.emplace_back(path, name);
        return true;
    }

    QHash<QString, QStringList> attributes;
    QStringList everyFile;
    std::vector<std::pair<QString, QString>> removed;
};

} // namespace quillon::fakes
