#pragma once

#include "notch/AudioWaveView.h"
#include "notch/NotchBarItem.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace quillon {

/// One drawn piece of an item view, in the item's coordinates (y down, origin
/// at its top-left corner). Pieces may reach beyond the item's size (a badge
/// overhanging its icon's corner).
struct NotchItemPart {
    enum class Kind {
        /// A filled rounded rectangle with an optional border.
        box,
        /// One line of text.
        label,
        /// An icon fitted into the rectangle; a template takes the tint.
        glyph,
        /// The animated audio wave.
        wave,
    };
    Kind kind = Kind::box;
    QRectF rect;
    QColor fill;
    QColor border;
    double borderWidth = 0;
    double radius = 0;
    QString text;
    QFont font;
    QColor color;
    QIcon icon;
    QColor tint;
    std::shared_ptr<AudioWaveView> wave;
};

/// How one item of a bar looks: its fitted size and the pieces that draw it.
/// A bare key name becomes a keycap, a badge on an icon a small keycap on its
/// corner, a value plain text, and the rest a group of dot, icon and label.
/// Key texts are drawn as a Linux user reads them ("⌘V" shows "Ctrl+V").
struct NotchItemView {
    enum class Kind { keycap, titledKeycap, badgedIcon, group, wave };

    Kind kind = Kind::group;
    QSizeF size{0, 0};
    std::vector<NotchItemPart> parts;

    /// The view for one item: the first rule that fits its fields.
    static NotchItemView make(const NotchBarItem& item);

    /// One line of text sized to fit, with key glyphs shown as key names.
    static NotchItemView label(const QString& text, const QFont& font, const QColor& color);
    static NotchItemView keycap(const QString& key);
    static NotchItemView titledKeycap(const QString& key, const QString& name);
    static NotchItemView badgedIcon(const QIcon& image, const QString& letter, bool running);
    static NotchItemView badgeView(const QString& letter);
    /// The icon fitted into a box of `box` size, as pieces of that box.
    static std::vector<NotchItemPart> glyphImageView(const QIcon& image, const QSizeF& box,
                                                     const QColor& tint);
    /// A symbol redrawn at 16 points, or nothing for any other image.
    static std::optional<QIcon> configuredSymbol(const QIcon& image);
    static NotchItemView accentDot();
    static NotchItemView eyelid(double box, const QColor& tint);
    static NotchItemView audioWave();

    /// An image's own size in points: a symbol's 16 × 16, else its largest size.
    static QSizeF naturalSize(const QIcon& image);

    /// The wave of this view, if it is one.
    AudioWaveView* wave() const;

    void paint(QPainter& painter, const QPointF& origin, double time) const;
};

} // namespace quillon
