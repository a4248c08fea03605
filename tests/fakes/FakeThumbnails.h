#pragma once

#include "platform/Thumbnails.h"

#include <QHash>
#include <QList>
#include <QSet>

namespace quillon::fakes {

/// Previews from a table: answers at once, or holds requests until
/// `answerAll`. A path not in the table has no preview.
class FakeThumbnails final : public platform::Thumbnails {
public:
    QHash<QString, QImage> images;
    bool answerAtOnce = true;
    QList<QString> requested;
    QList<QSize> sizes;
    QSet<int> cancelled;

    int request(const QString& path, const QSize& pixelSize, std::function<void(const QImage&)> done) override
    {
        requested.append(path);
        sizes.append(pixelSize);
        const int id = ++m_lastId;
        if (answerAtOnce)
            done(images.value(path));
        else
            m_pending.insert(id, {path, std::move(done)});
        return id;
    }
    void cancel(int id) override
    {
        if (m_pending.remove(id))
            cancelled.insert(id);
    }
    /// Answers every held request.
    void answerAll()
    {
        const auto pending = std::exchange(m_pending, {});
        for (const auto& request : pending)
            request.done(images.value(request.path));
    }
    int pendingCount() const { return int(m_pending.size()); }

private:
    struct Pending {
        QString path;
        std::function<void(const QImage&)> done;
    };
    int m_lastId = 0;
    QHash<int, Pending> m_pending;
};

} // namespace quillon::fakes
