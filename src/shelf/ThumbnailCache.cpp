#include "shelf/ThumbnailCache.h"

namespace quillon {

ThumbnailCache& ThumbnailCache::shared()
{
    static ThumbnailCache cache;
    return cache;
}

std::optional<QImage> ThumbnailCache::image(const QUrl& url) const
{
    const auto it = m_images.constFind(url);
    if (it == m_images.constEnd())
        return std::nullopt;
    return *it;
}

void ThumbnailCache::remember(const QImage& image, const QUrl& url)
{
    if (!m_images.contains(url))
        m_order.append(url);
    m_images.insert(url, image);
    while (m_order.size() > capacity)
        m_images.remove(m_order.takeFirst());
}

void ThumbnailCache::clear()
{
    m_images.clear();
    m_order.clear();
}

} // namespace quillon
