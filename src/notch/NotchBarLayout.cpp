#include "notch/NotchBarLayout.h"

#include "support/DS.h"

#include <QFontMetricsF>
#include <algorithm>

namespace quillon {

namespace {

struct Wing {
    std::vector<NotchItemView> views;
    QSizeF size{0, 0};
};

Wing buildWing(const std::vector<NotchBarItem>& items)
{
    Wing wing;
    for (const auto& item : items) {
        wing.views.push_back(NotchItemView::make(item));
        const QSizeF s = wing.views.back().size;
        wing.size.setWidth(wing.size.width() + s.width() +
                           (wing.views.size() > 1 ? NotchBarLayout::wingSpacing : 0));
        wing.size.setHeight(std::max(wing.size.height(), s.height()));
    }
    return wing;
}

std::optional<QString> keyOf(const NotchBarItem& item)
{
    if (item.pulseKey)
        return item.pulseKey;
    if (item.badge)
        return item.badge;
    return item.text;
}

} // namespace

NotchBarLayout::Metrics NotchBarLayout::measure(const QSizeF& notch, double drop, const QSizeF& left,
                                                const QSizeF& right, double captionWidth)
{
    const double W = notch.width(), H = notch.height();
    Metrics m;
    m.leftContentWidth = left.width();
    m.rightContentWidth = right.width();
    const double overhang = std::max((captionWidth - W) * 0.5, 0.0);
    m.captionLeftOverhang = std::max(overhang - left.width(), 0.0);
    m.captionRightOverhang = std::max(overhang - right.width(), 0.0);
    m.notchX = margin + m.captionLeftOverhang + left.width();
    m.size = QSizeF(m.notchX + W + right.width() + m.captionRightOverhang + margin, H + drop);
    // Centred between the top edge and the margin below the notch, which with
    // the usual drop of 14 is the middle of the bar.
    m.leftY = (H + margin - left.height()) * 0.5;
    m.rightY = (H + margin - right.height()) * 0.5;
    return m;
}

NotchBarLayout::NotchBarLayout(const NotchContent& content, const QSizeF& notch, double drop,
                               bool physicalNotch)
    : m_notch(notch)
    , m_drop(drop)
    , m_physical(physicalNotch)
{
    const Wing left = buildWing(content.left);
    const Wing right = buildWing(content.right);
    const auto caption = placeCaption(content.caption);
    m_metrics = measure(notch, drop, left.size, right.size, caption ? caption->view.size.width() : 0);

    const auto place = [this](const Wing& wing, const std::vector<NotchBarItem>& items, double x,
                              double top) {
        for (size_t i = 0; i < wing.views.size(); ++i) {
            const NotchItemView& view = wing.views[i];
            const QPointF origin(x, top + (wing.size.height() - view.size.height()) * 0.5);
            m_items.push_back({view, origin});
            if (const auto key = keyOf(items[i]))
                m_keys.insert(*key, QRectF(origin, view.size));
            x += view.size.width() + wingSpacing;
        }
    };
    place(left, content.left, margin + m_metrics.captionLeftOverhang, m_metrics.leftY);
    place(right, content.right, m_metrics.notchX + notch.width(), m_metrics.rightY);
    setCaption(content.caption);
}

std::optional<NotchBarLayout::Caption> NotchBarLayout::placeCaption(const std::optional<QString>& text) const
{
    if (!text)
        return std::nullopt;
    const QFontMetricsF metrics(DS::captionFont());
    Caption caption{NotchItemView::label(*text, DS::captionFont(), DS::textCaption()), QPointF()};
    // The middle of the capital letters sits halfway down the strip below the notch.
    const double baseline = m_notch.height() + m_drop * 0.5 + metrics.capHeight() * 0.5;
    caption.origin = QPointF(m_metrics.notchX + (m_notch.width() - caption.view.size.width()) * 0.5,
                             baseline - metrics.ascent());
    return caption;
}

void NotchBarLayout::setCaption(const std::optional<QString>& text)
{
    m_caption = placeCaption(text);
}

std::optional<QRectF> NotchBarLayout::itemRect(const QString& key) const
{
    const auto it = m_keys.constFind(key);
    if (it == m_keys.constEnd())
        return std::nullopt;
    return *it;
}

NotchShape NotchBarLayout::fullShape() const
{
    return NotchShape::of(QRectF(QPointF(0, 0), size()), fullRadius);
}

NotchShape NotchBarLayout::notchShape() const
{
    const double h = m_physical ? m_notch.height() : 0;
    return NotchShape::of(QRectF(m_metrics.notchX, size().height() - h, m_notch.width(), h), notchRadius);
}

} // namespace quillon
