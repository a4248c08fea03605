#include "features/snap/SnapIcon.h"

#include "support/Symbols.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <functional>

namespace quillon {

namespace {

constexpr double kOutlineInset = 1.5;
constexpr double kOutlineRadius = 2.5;
constexpr double kOutlineWidth = 1.0;
constexpr double kTargetInset = 0.75;
constexpr double kTargetRadius = 1.5;
// The symbols are set at 10.5 points; their glyph box.
constexpr QSizeF kSymbolSize{12, 10};
constexpr double kSymbolLift = 3.0;

/// A template drawn on demand into a 24 × 16 canvas, scaled uniformly and
/// centred into whatever rectangle it is asked for.
class TemplateEngine final : public QIconEngine {
public:
    using Draw = std::function<void(QPainter&)>;
    explicit TemplateEngine(Draw draw, QString name = QString())
        : m_draw(std::move(draw))
        , m_name(std::move(name))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        draw(*painter, QRectF(rect));
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        const QSize actual = fitted(size);
        QPixmap pixmap((QSizeF(actual) * scale).toSize());
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        draw(painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return fitted(size); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {SnapIcon::size.toSize()}; }
    QString key() const override { return QStringLiteral("quillon.snapicon"); }
    QIconEngine* clone() const override { return new TemplateEngine(m_draw, m_name); }
    /// A symbol keeps its name, as the symbols themselves do.
    QString iconName() override { return m_name; }

private:
    static QSize fitted(const QSize& size)
    {
        const double k =
            std::min(size.width() / SnapIcon::size.width(), size.height() / SnapIcon::size.height());
        return QSize(std::max(1, int(SnapIcon::size.width() * k + 0.5)),
                     std::max(1, int(SnapIcon::size.height() * k + 0.5)));
    }
    void draw(QPainter& painter, const QRectF& rect) const
    {
        const double k =
            std::min(rect.width() / SnapIcon::size.width(), rect.height() / SnapIcon::size.height());
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(rect.center().x() - SnapIcon::size.width() * k / 2,
                          rect.center().y() - SnapIcon::size.height() * k / 2);
        painter.scale(k, k);
        m_draw(painter);
        painter.restore();
    }

    Draw m_draw;
    QString m_name;
};

QColor alphaBlack(double alpha)
{
    QColor color(Qt::black);
    color.setAlphaF(float(alpha));
    return color;
}

} // namespace

std::optional<QRectF> SnapIcon::targetArea(SnapPosition position)
{
    if (position == SnapPosition::center)
        return QRectF(0.28, 0.28, 0.44, 0.44);
    return snapFrame(position, QRectF(0, 0, 1, 1), QSizeF(0.5, 0.5));
}

QRectF SnapIcon::outlineRect()
{
    return QRectF(QPointF(0, 0), size).adjusted(kOutlineInset, kOutlineInset, -kOutlineInset, -kOutlineInset);
}

std::optional<QRectF> SnapIcon::targetRect(SnapPosition position)
{
    const auto a = targetArea(position);
    if (!a)
        return std::nullopt;
    const QRectF o = outlineRect();
    // The area is y-up; the outline is centred, so mirroring about the
    // image's height keeps it inside.
    const double yUp = o.y() + a->y() * o.height();
    const double height = a->height() * o.height();
    const QRectF filled(o.x() + a->x() * o.width(), size.height() - yUp - height, a->width() * o.width(),
                        height);
    return filled.adjusted(kTargetInset, kTargetInset, -kTargetInset, -kTargetInset);
}

std::optional<QIcon> SnapIcon::image(SnapPosition position)
{
    const auto target = targetRect(position);
    if (!target)
        return symbolImage(position);
    const QRectF filled = *target;
    QIcon icon(new TemplateEngine([filled](QPainter& painter) {
        painter.setPen(QPen(alphaBlack(outlineAlpha), kOutlineWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(outlineRect(), kOutlineRadius, kOutlineRadius);
        painter.setPen(Qt::NoPen);
        painter.setBrush(alphaBlack(targetAlpha));
        painter.drawRoundedRect(filled, kTargetRadius, kTargetRadius);
    }));
    icon.setIsMask(true);
    return icon;
}

std::optional<QIcon> SnapIcon::symbolImage(SnapPosition position)
{
    QString name;
    switch (position) {
    case SnapPosition::restore:
        name = QStringLiteral("arrow.uturn.backward");
        break;
    case SnapPosition::nextDisplay:
        name = QStringLiteral("arrow.right.to.line");
        break;
    case SnapPosition::previousDisplay:
        name = QStringLiteral("arrow.left.to.line");
        break;
    default:
        return std::nullopt;
    }
    const auto symbol = Symbols::image(name);
    if (!symbol)
        return std::nullopt;
    const QIcon glyph = *symbol;
    // Centred across, lifted 3 points above the middle (y up, as drawn).
    const QRectF box((size.width() - kSymbolSize.width()) / 2,
                     size.height() - ((size.height() - kSymbolSize.height()) / 2 + kSymbolLift) -
                         kSymbolSize.height(),
                     kSymbolSize.width(), kSymbolSize.height());
    QIcon icon(new TemplateEngine(
        [glyph, box](QPainter& painter) { Symbols::paint(painter, glyph, box, Qt::black); }, name));
    icon.setIsMask(true);
    return icon;
}

} // namespace quillon
