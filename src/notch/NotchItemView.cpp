#include "notch/NotchItemView.h"

#include "support/DS.h"
#include "support/KeyNames.h"
#include "support/Symbols.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

QColor white(double alpha)
{
    QColor c(Qt::white);
    c.setAlphaF(float(alpha));
    return c;
}

} // namespace

// Every text goes through the key names, so "⌘V" reads "Ctrl+V"; words
// without key glyphs stay as they are.
NotchItemView NotchItemView::label(const QString& text, const QFont& font, const QColor& color)
{
    const QString shown = KeyNames::label(text);
    const QFontMetricsF metrics(font);
    NotchItemView view;
    view.size = QSizeF(std::ceil(metrics.horizontalAdvance(shown)), std::ceil(metrics.height()));
    NotchItemPart part;
    part.kind = NotchItemPart::Kind::label;
    part.rect = QRectF(QPointF(0, 0), view.size);
    part.text = shown;
    part.font = font;
    part.color = color;
    view.parts.push_back(part);
    return view;
}

namespace {

NotchItemPart box(const QRectF& rect, const QColor& fill, double radius, const QColor& border = QColor(),
                  double borderWidth = 0)
{
    NotchItemPart part;
    part.kind = NotchItemPart::Kind::box;
    part.rect = rect;
    part.fill = fill;
    part.radius = radius;
    part.border = border;
    part.borderWidth = borderWidth;
    return part;
}

void append(NotchItemView& into, const NotchItemView& child, const QPointF& at)
{
    for (NotchItemPart part : child.parts) {
        part.rect.translate(at);
        into.parts.push_back(std::move(part));
    }
}

// A horizontal stack whose views are centred on its middle line.
NotchItemView hstack(const std::vector<NotchItemView>& views, double spacing)
{
    NotchItemView stack;
    double width = 0, height = 0;
    for (const auto& v : views)
        height = std::max(height, v.size.height());
    for (size_t i = 0; i < views.size(); ++i) {
        if (i > 0)
            width += spacing;
        append(stack, views[i], QPointF(width, (height - views[i].size.height()) * 0.5));
        width += views[i].size.width();
    }
    stack.size = QSizeF(width, height);
    return stack;
}

// A label centred in a rounded box of the given size.
NotchItemView capsule(const NotchItemView& text, const QSizeF& size, const QColor& fill, double radius,
                      const QColor& border, double borderWidth)
{
    NotchItemView view;
    view.size = size;
    view.parts.push_back(box(QRectF(QPointF(0, 0), size), fill, radius, border, borderWidth));
    append(view, text,
           QPointF((size.width() - text.size.width()) * 0.5, (size.height() - text.size.height()) * 0.5));
    return view;
}

} // namespace

QSizeF NotchItemView::naturalSize(const QIcon& image)
{
    if (image.isMask() && Symbols::image(image.name()))
        return Symbols::naturalSize;
    QSize largest;
    for (const QSize& s : image.availableSizes()) {
        if (s.width() * s.height() > largest.width() * largest.height())
            largest = s;
    }
    if (largest.isEmpty())
        largest = image.actualSize(QSize(256, 256));
    return QSizeF(largest);
}

std::optional<QIcon> NotchItemView::configuredSymbol(const QIcon& image)
{
    if (!image.isMask() || !Symbols::image(image.name()))
        return std::nullopt;
    return image;
}

std::vector<NotchItemPart> NotchItemView::glyphImageView(const QIcon& image, const QSizeF& box,
                                                         const QColor& tint)
{
    const double w = box.width(), h = box.height();
    NotchItemPart part;
    part.kind = NotchItemPart::Kind::glyph;
    part.icon = image;
    part.tint = tint;
    const QSizeF natural = naturalSize(image);
    if (h >= 24 && configuredSymbol(image)) {
        const QSizeF s = Symbols::naturalSize;
        part.rect = QRectF((w - s.width()) * 0.5, (h - s.height()) * 0.5, s.width(), s.height());
    } else if (!image.isMask() && std::abs(natural.width() - natural.height()) < 0.5) {
        // Application icons carry a transparent margin; letting them bleed a
        // little beyond the box makes them look as large as the symbols.
        part.rect = QRectF(-2, -2, w + 4, h + 4);
    } else {
        const double iw = natural.width() <= 1 ? 1 : natural.width();
        const double ih = natural.height() <= 1 ? 1 : natural.height();
        const double scale = std::min(w / iw, h / ih);
        const QSizeF s(natural.width() * scale, natural.height() * scale);
        part.rect = QRectF((w - s.width()) * 0.5, (h - s.height()) * 0.5, s.width(), s.height());
    }
    return {part};
}

NotchItemView NotchItemView::keycap(const QString& key)
{
    const NotchItemView text = label(key, DS::keycapFont(), Qt::white);
    NotchItemView view = capsule(text, QSizeF(std::max(text.size.width() + 10, 20.0), 20), DS::keycapFill(),
                                 5, white(0.14), 1);
    view.kind = Kind::keycap;
    return view;
}

NotchItemView NotchItemView::titledKeycap(const QString& key, const QString& name)
{
    const NotchItemView stack = hstack({keycap(key), label(name, DS::captionFont(), Qt::white)}, 6);
    NotchItemView pill;
    pill.kind = Kind::titledKeycap;
    pill.size = QSizeF(2 + stack.size.width() + 8, 24);
    pill.parts.push_back(box(QRectF(QPointF(0, 0), pill.size), white(0.08), 7));
    append(pill, stack, QPointF(2, (24 - stack.size.height()) * 0.5));
    return pill;
}

NotchItemView NotchItemView::badgeView(const QString& letter)
{
    const NotchItemView text = label(letter, DS::badgeFont(), Qt::white);
    return capsule(text, QSizeF(std::max(text.size.width() + 4, 13.0), 13), DS::keycapFill(), 4, Qt::black,
                   1.5);
}

NotchItemView NotchItemView::badgedIcon(const QIcon& image, const QString& letter, bool running)
{
    double h = 24;
    if (image.isMask() && !configuredSymbol(image)) {
        const QSizeF natural = naturalSize(image);
        h = natural.height() * 1.2 < natural.width() ? 17 : 24;
    }
    NotchItemView view;
    view.kind = Kind::badgedIcon;
    view.size = QSizeF(24, h);
    view.parts = glyphImageView(image, view.size, Qt::white);
    // The badge overhangs the bottom-left corner, the running dot the top-right.
    const NotchItemView badge = badgeView(letter);
    append(view, badge, QPointF(-3, h + 3 - badge.size.height()));
    if (running)
        view.parts.push_back(box(QRectF(19, -1, 6, 6), DS::charging(), 3, DS::hudBlack(), 1));
    return view;
}

NotchItemView NotchItemView::accentDot()
{
    NotchItemView view;
    view.size = QSizeF(6, 6);
    view.parts.push_back(box(QRectF(0, 0, 6, 6), DS::accent(), 3));
    return view;
}

NotchItemView NotchItemView::eyelid(double s, const QColor& tint)
{
    NotchItemView view;
    view.size = QSizeF(s, s);
    view.parts.push_back(box(QRectF((s - 0.86 * s) * 0.5, (s - 2) * 0.5, 0.86 * s, 2), tint, 1));
    return view;
}

NotchItemView NotchItemView::audioWave()
{
    NotchItemView view;
    view.kind = Kind::wave;
    view.size = QSizeF(AudioWaveView::side, AudioWaveView::side);
    NotchItemPart part;
    part.kind = NotchItemPart::Kind::wave;
    part.rect = QRectF(QPointF(0, 0), view.size);
    part.wave = std::make_shared<AudioWaveView>();
    view.parts.push_back(part);
    return view;
}

NotchItemView NotchItemView::make(const NotchBarItem& item)
{
    if (item.wave)
        return audioWave();
    if (item.icon && item.badge)
        return badgedIcon(*item.icon, *item.badge, item.running);
    if (!item.icon && item.badge)
        return item.text ? titledKeycap(*item.badge, *item.text) : keycap(*item.badge);
    if (!item.icon && item.text && !item.value && !item.dimmed)
        return keycap(*item.text);

    const double s = item.textLeading && item.text ? 14 : 24;
    std::vector<NotchItemView> views;
    if (item.accentDot)
        views.push_back(accentDot());
    if (item.icon) {
        QColor tint(Qt::white);
        if (item.warning)
            tint = DS::warning();
        else if (item.dimmed)
            tint = white(0.45);
        else if (s == 14)
            tint = white(0.75);
        NotchItemView iconBox;
        iconBox.size = QSizeF(s, s);
        if (item.closedEye)
            iconBox = eyelid(s, tint);
        else
            iconBox.parts = glyphImageView(*item.icon, iconBox.size, tint);
        views.push_back(iconBox);
    }
    if (item.text) {
        QFont font = DS::valueFont();
        if (item.dimmed) {
            font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
            font.setPixelSize(12);
        }
        const QColor color = item.warning  ? DS::warning()
                             : item.dimmed ? DS::textSecondary()
                                           : QColor(Qt::white);
        const NotchItemView text = label(*item.text, font, color);
        if (item.textLeading)
            views.insert(views.begin(), text);
        else
            views.push_back(text);
    }
    NotchItemView group = hstack(views, item.textLeading ? 4 : 6);
    group.kind = Kind::group;
    return group;
}

AudioWaveView* NotchItemView::wave() const
{
    for (const auto& part : parts) {
        if (part.wave)
            return part.wave.get();
    }
    return nullptr;
}

void NotchItemView::paint(QPainter& painter, const QPointF& origin, double time) const
{
    for (const auto& part : parts) {
        const QRectF r = part.rect.translated(origin);
        switch (part.kind) {
        case NotchItemPart::Kind::box: {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            QPainterPath path;
            path.addRoundedRect(r, part.radius, part.radius);
            painter.fillPath(path, part.fill);
            if (part.borderWidth > 0 && part.border.isValid()) {
                // The border lies inside the box's edge, as a layer's border does.
                const double half = part.borderWidth / 2;
                QPainterPath edge;
                edge.addRoundedRect(r.adjusted(half, half, -half, -half), std::max(0.0, part.radius - half),
                                    std::max(0.0, part.radius - half));
                painter.strokePath(edge, QPen(part.border, part.borderWidth));
            }
            painter.restore();
            break;
        }
        case NotchItemPart::Kind::label:
            painter.save();
            painter.setFont(part.font);
            painter.setPen(part.color);
            painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, part.text);
            painter.restore();
            break;
        case NotchItemPart::Kind::glyph:
            Symbols::paint(painter, part.icon, r, part.tint);
            break;
        case NotchItemPart::Kind::wave:
            part.wave->paint(painter, r.topLeft(), time);
            break;
        }
    }
}

} // namespace quillon
