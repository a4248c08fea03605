#pragma once

#include "notch/NotchContent.h"
#include "notch/NotchItemView.h"
#include "notch/NotchShape.h"

#include <QHash>
#include <QPointF>
#include <QSizeF>
#include <optional>
#include <vector>

namespace quillon {

/// Where everything of one bar goes: the notch in the middle, a wing of items
/// on each side, a caption in the strip below the notch, and a 14-point margin
/// at each end. A caption wider than the notch first uses the room above the
/// wings and only then widens the bar, separately on each side.
///
/// Positions are in the bar's widget coordinates (y down, origin top-left);
/// the shapes are y up, as the notch outlines are.
class NotchBarLayout {
public:
    /// The margin beyond the outermost items, and the wings' offset below.
    static constexpr double margin = 14;
    static constexpr double wingSpacing = 11;
    static constexpr double fullRadius = 16;
    static constexpr double notchRadius = 10;

    struct PlacedItem {
        NotchItemView view;
        QPointF origin;
    };
    struct Caption {
        NotchItemView view;
        QPointF origin;
    };
    /// The measures of a bar: everything that follows from the sizes alone.
    struct Metrics {
        double leftContentWidth = 0;
        double rightContentWidth = 0;
        double captionLeftOverhang = 0;
        double captionRightOverhang = 0;
        /// The notch's left edge inside the bar.
        double notchX = 0;
        QSizeF size{0, 0};
        /// The tops of the two wing stacks.
        double leftY = 0;
        double rightY = 0;
    };

    /// Measures a bar from its notch, its drop and its parts' fitted sizes
    /// (an empty wing measures 0 × 0; no caption is 0 wide).
    static Metrics measure(const QSizeF& notch, double drop, const QSizeF& left, const QSizeF& right,
                           double captionWidth);

    NotchBarLayout(const NotchContent& content, const QSizeF& notch, double drop, bool physicalNotch);

    const Metrics& metrics() const { return m_metrics; }
    QSizeF size() const { return m_metrics.size; }
    QSizeF notchSize() const { return m_notch; }
    double drop() const { return m_drop; }
    const std::vector<PlacedItem>& items() const { return m_items; }
    const std::optional<Caption>& caption() const { return m_caption; }
    /// The rectangle of the item registered under a key: its pulse key, else
    /// its badge, else its text. A later item with the same key wins.
    std::optional<QRectF> itemRect(const QString& key) const;
    QStringList keys() const { return m_keys.keys(); }

    /// Places a caption under the notch with the bar's measures as they are:
    /// the bar does not widen for it.
    void setCaption(const std::optional<QString>& text);
    /// The caption of a text, placed under the notch.
    std::optional<Caption> placeCaption(const std::optional<QString>& text) const;

    /// The bar's open body: the whole bar.
    NotchShape fullShape() const;
    /// Where the body starts and ends: the notch itself under a physical
    /// notch, else a line along the bar's top edge.
    NotchShape notchShape() const;

private:
    QSizeF m_notch;
    double m_drop;
    bool m_physical;
    Metrics m_metrics;
    std::vector<PlacedItem> m_items;
    std::optional<Caption> m_caption;
    QHash<QString, QRectF> m_keys;
};

} // namespace quillon
