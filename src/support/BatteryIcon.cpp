#include "support/BatteryIcon.h"

#include "support/Config.h"
#include "support/DS.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace quillon {

namespace {

class BatteryEngine final : public QIconEngine {
public:
    BatteryEngine(int level, bool charging)
        : m_level(level)
        , m_charging(charging)
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        draw(*painter, rect);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        const QSize pixels = fitted(size);
        QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            draw(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
        }
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return fitted(size); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {BatteryIcon::size.toSize()}; }

    QIconEngine* clone() const override { return new BatteryEngine(m_level, m_charging); }
    QString key() const override { return QStringLiteral("quillon.battery"); }

private:
    static QSize fitted(const QSize& bounds)
    {
        return BatteryIcon::size.scaled(QSizeF(bounds), Qt::KeepAspectRatio).toSize().expandedTo(QSize(1, 1));
    }

    QColor color() const
    {
        if (m_charging)
            return DS::charging();
        if (m_level > Config::batteryCriticalLevel())
            return QColor(Qt::white);
        return DS::warning();
    }

    // Drawn in the glyph's own 28×14 space with y growing upwards, then
    // mapped onto the target.
    void draw(QPainter& painter, const QRectF& target) const
    {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(target.left(), target.bottom());
        painter.scale(target.width() / BatteryIcon::size.width(),
                      -target.height() / BatteryIcon::size.height());

        const QColor c = color();
        QPainterPath body;
        body.addRoundedRect(QRectF(0.7, 0.7, 23.6, 12.6), 3.5, 3.5);
        painter.setPen(QPen(c, 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(body);

        painter.setPen(Qt::NoPen);
        painter.setBrush(c);
        painter.drawRoundedRect(QRectF(26.4, 4.0, 1.6, 6.0), 0.8, 0.8);

        const double barWidth = std::max(3.0, 19.0 * m_level / 100.0);
        painter.drawRoundedRect(QRectF(3, 3, barWidth, 8), 1.5, 1.5);

        if (m_charging) {
            const QPointF bolt[] = {{13.1, 12.4}, {10.1, 6.5}, {12.1, 6.5},
                                    {11.7, 1.6},  {14.9, 8.1}, {12.9, 8.1}};
            painter.setBrush(QColor(Qt::black));
            painter.drawPolygon(bolt, 6);
        }
        painter.restore();
    }

    int m_level;
    bool m_charging;
};

} // namespace

QIcon BatteryIcon::image(int percent, bool charging)
{
    return QIcon(new BatteryEngine(std::clamp(percent, 0, 100), charging));
}

} // namespace quillon
