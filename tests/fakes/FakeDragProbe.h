#pragma once

#include "platform/DragProbe.h"

#include <optional>

namespace quillon::fakes {

/// A drag probe the test scripts: startDrag() is a new drag.
class FakeDragProbe final : public platform::DragProbe {
public:
    int changeCount() override { return changes; }
    bool carriesFiles() override { return own ? !own->isEmpty() : carries; }
    QList<QUrl> fileURLs() override { return own ? *own : files; }
    QStringList types() override { return own ? QStringList{QStringLiteral("text/uri-list")} : typeList; }
    void noteOwnDrag(const QList<QUrl>& urls) override { own = urls; }
    void endOwnDrag() override { own.reset(); }

    void startDrag(QList<QUrl> urls, QStringList types, bool unknownFiles = false)
    {
        ++changes;
        files = std::move(urls);
        typeList = std::move(types);
        carries = unknownFiles || !files.isEmpty();
    }

    int changes = 0;
    bool carries = false;
    QList<QUrl> files;
    QStringList typeList;
    std::optional<QList<QUrl>> own;
};

} // namespace quillon::fakes
