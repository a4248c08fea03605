#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QUrl>
#include <optional>

namespace quillon {

/// The cards' previews, shared by every cards view of the process: at most
/// `capacity` images, the earliest remembered going first.
class ThumbnailCache {
public:
    static constexpr int capacity = 256;

    static ThumbnailCache& shared();

    std::optional<QImage> image(const QUrl& url) const;
    /// Stores `image` for `url`; an image already held is replaced in place,
    /// keeping its turn for eviction.
    void remember(const QImage& image, const QUrl& url);
    int size() const { return int(m_order.size()); }
    void clear();

private:
    QHash<QUrl, QImage> m_images;
    QList<QUrl> m_order;
};

} // namespace quillon
