#include "ui/MenuBarIconEngine.h"

#include "support/Symbols.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillon {

namespace {

// The notch at the middle of the top edge, in y-up points: 6.5 wide, 3 deep,
// its lower corners rounded with radius 2.5. Qt measures arc angles with y
// down, so in the flipped painter the y-up angle θ is Qt's −θ.
QPainterPath bite(const QRectF& r)
{
    const qreal left = r.center().x() - 3.25;
    const qreal right = r.center().x() + 3.25;
    const qreal top = r.bottom(); // the y-up maximum
    const qreal radius = 2.5;
    QPainterPath path;
    path.moveTo(left, top);
    path.arcTo(QRectF(left + radius - radius, top - 0.5 - radius, 2 * radius, 2 * radius), -180, -90);
    path.arcTo(QRectF(right - radius - radius, top - 0.5 - radius, 2 * radius, 2 * radius), -270, -90);
    path.lineTo(right, top);
    path.closeSubpath();
    return path;
}

} // namespace

MenuBarIconEngine::MenuBarIconEngine(bool sessionActive)
    : m_sessionActive(sessionActive)
{
}

QImage MenuBarIconEngine::render(bool sessionActive, qreal scale)
{
    const QSize pixels = (naturalSize * scale).toSize();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), naturalSize);

    // y-up points, as the shape is given.
    painter.save();
    painter.translate(0, pixels.height());
    painter.scale(scale, -scale);
    if (sessionActive) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawRoundedRect(r, 4.5, 4.5);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.drawPath(bite(r));
    } else {
        painter.setPen(QPen(Qt::black, 1.6));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(r.adjusted(0.8, 0.8, -0.8, -0.8), 4.5, 4.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawPath(bite(r));
    }
    painter.restore();

    if (sessionActive) {
        // The cup, 7 points, 1 point below the centre; drawn unflipped so the
        // glyph stands upright.
        if (const auto cup = Symbols::image(QStringLiteral("cup.and.saucer.fill"))) {
            const QSizeF size(7, 7);
            const QRectF target(r.center().x() - size.width() / 2, r.center().y() + 1 - size.height() / 2,
                                size.width(), size.height());
            const QImage glyph = Symbols::render(*cup, (size * scale).toSize(), Qt::black);
            painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
            painter.drawImage(QRectF(target.topLeft() * scale, target.size() * scale), glyph);
        }
    }
    return image;
}

void MenuBarIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State)
{
    // Drawn apart and then placed: the cut-outs must not erase what lies
    // under the icon on the target.
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const qreal scale = std::min(rect.width() / naturalSize.width(), rect.height() / naturalSize.height());
    QImage image = render(m_sessionActive, scale * dpr);
    image.setDevicePixelRatio(dpr);
    const QSizeF drawn = naturalSize * scale;
    const QPointF origin(rect.x() + (rect.width() - drawn.width()) / 2,
                         rect.y() + (rect.height() - drawn.height()) / 2);
    painter->drawImage(QRectF(origin, drawn), image);
}

QPixmap MenuBarIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
}

QSize MenuBarIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    return size;
}

QIconEngine* MenuBarIconEngine::clone() const
{
    return new MenuBarIconEngine(m_sessionActive);
}

QString MenuBarIconEngine::iconName()
{
    return m_sessionActive ? QStringLiteral("menubar.session") : QStringLiteral("menubar");
}

QString MenuBarIconEngine::key() const
{
    return QStringLiteral("MenuBarIconEngine");
}

} // namespace quillon
