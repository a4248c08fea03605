#include "features/snap/SnapIcon.h"

#include "support/Symbols.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace quillon {

namespace {

// Drawn in a 24-unit square, like the symbols: the screen's outline and,
// inside a small gap, the filled target.
constexpr QRectF kScreen(2.5, 4.5, 19, 15);
constexpr double kStroke = 1.6;
constexpr double kGap = 1.6;
constexpr double kCorner = 3.0;

class SnapIconEngine final : public QIconEngine {
public:
    explicit SnapIconEngine(QRectF target)
        : m_target(target)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        draw(*painter, QRectF(rect));
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        draw(painter, QRectF(0, 0, side, side));
        painter.end();
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {Symbols::naturalSize.toSize()};
    }
    QString key() const override { return QStringLiteral("quillon.snapicon"); }
    QIconEngine* clone() const override { return new SnapIconEngine(m_target); }

private:
    void draw(QPainter& painter, const QRectF& rect) const
    {
        const double side = std::min(rect.width(), rect.height());
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
        painter.scale(side / 24.0, side / 24.0);
        painter.setPen(QPen(Qt::black, kStroke));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(kScreen, kCorner, kCorner);
        const QRectF inner = kScreen.adjusted(kStroke / 2 + kGap, kStroke / 2 + kGap, -(kStroke / 2 + kGap),
                                              -(kStroke / 2 + kGap));
        const QRectF fill(inner.x() + m_target.x() * inner.width(), inner.y() + m_target.y() * inner.height(),
                          m_target.width() * inner.width(), m_target.height() * inner.height());
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(fill, 1.0, 1.0);
        painter.restore();
    }

    QRectF m_target;
};

} // namespace

std::optional<QRectF> SnapIcon::targetArea(SnapPosition position)
{
    constexpr double third = 1.0 / 3.0;
    switch (position) {
    case SnapPosition::leftHalf:
        return QRectF(0, 0, 0.5, 1);
    case SnapPosition::rightHalf:
        return QRectF(0.5, 0, 0.5, 1);
    case SnapPosition::topHalf:
        return QRectF(0, 0, 1, 0.5);
    case SnapPosition::bottomHalf:
        return QRectF(0, 0.5, 1, 0.5);
    case SnapPosition::topLeft:
        return QRectF(0, 0, 0.5, 0.5);
    case SnapPosition::topRight:
        return QRectF(0.5, 0, 0.5, 0.5);
    case SnapPosition::bottomLeft:
        return QRectF(0, 0.5, 0.5, 0.5);
    case SnapPosition::bottomRight:
        return QRectF(0.5, 0.5, 0.5, 0.5);
    case SnapPosition::leftThird:
        return QRectF(0, 0, third, 1);
    case SnapPosition::centerThird:
        return QRectF(third, 0, third, 1);
    case SnapPosition::rightThird:
        return QRectF(2 * third, 0, third, 1);
    case SnapPosition::leftTwoThirds:
        return QRectF(0, 0, 2 * third, 1);
    case SnapPosition::rightTwoThirds:
        return QRectF(third, 0, 2 * third, 1);
    case SnapPosition::maximize:
        return QRectF(0, 0, 1, 1);
    case SnapPosition::center:
        return QRectF(0.2, 0.15, 0.6, 0.7);
    case SnapPosition::restore:
    case SnapPosition::nextDisplay:
    case SnapPosition::previousDisplay:
        break;
    }
    return std::nullopt;
}

std::optional<QIcon> SnapIcon::image(SnapPosition position)
{
    const auto target = targetArea(position);
    if (!target)
        return std::nullopt;
    QIcon icon(new SnapIconEngine(*target));
    icon.setIsMask(true);
    return icon;
}

std::optional<QIcon> SnapIcon::symbolImage(SnapPosition position)
{
    switch (position) {
    case SnapPosition::restore:
        return Symbols::image(QStringLiteral("arrow.uturn.backward"));
    case SnapPosition::nextDisplay:
        return Symbols::image(QStringLiteral("arrow.right.to.line"));
    case SnapPosition::previousDisplay:
        return Symbols::image(QStringLiteral("arrow.left.to.line"));
    default:
        return std::nullopt;
    }
}

} // namespace quillon
