#include "platform/linux/LoupeColorSampler.h"

#include "platform/ModifierCombinations.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace quillon::platform::linux_ {

namespace {
constexpr uint16_t escapeKey = 53;
// The magnifier shows this many pixels across, each this many points wide.
constexpr int loupePixels = 11;
constexpr int loupeZoom = 10;
} // namespace

/// One screen of the loupe.
class LoupeWindow final : public QWidget {
public:
    LoupeWindow(const Screen& screen, QImage frozen)
        : m_frozen(std::move(frozen))
    {
        auto& overlays = platform().overlayWindows();
        overlays.prepare(*this, {.level = 1000, .clickThrough = false});
        overlays.setFrame(*this, screen.frame);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setCursor(Qt::CrossCursor);
    }

    std::function<void(std::optional<QColor>)> onPick;

    /// The pixel under `point` (view coordinates); none off the image.
    std::optional<QColor> pixelAt(QPointF point) const
    {
        if (m_frozen.isNull() || width() <= 0 || height() <= 0)
            return std::nullopt;
        const QPoint pixel(int(point.x() * m_frozen.width() / width()),
                           int(point.y() * m_frozen.height() / height()));
        if (!m_frozen.rect().contains(pixel))
            return std::nullopt;
        return QColor::fromRgb(m_frozen.pixel(pixel));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        if (m_frozen.isNull()) {
            painter.fillRect(rect(), Qt::black);
            return;
        }
        painter.drawImage(QRectF(rect()), m_frozen);
        if (!m_pointer)
            return;
        const double sx = double(m_frozen.width()) / width();
        const double sy = double(m_frozen.height()) / height();
        const QPoint centre(int(m_pointer->x() * sx), int(m_pointer->y() * sy));
        const QRect source(centre.x() - loupePixels / 2, centre.y() - loupePixels / 2, loupePixels,
                           loupePixels);
        const int side = loupePixels * loupeZoom;
        QRect target(m_pointer->toPoint() + QPoint(16, 16), QSize(side, side));
        // Kept on the screen: flipped to the other side of the pointer at an edge.
        if (target.right() > width())
            target.moveRight(m_pointer->toPoint().x() - 16);
        if (target.bottom() > height())
            target.moveBottom(m_pointer->toPoint().y() - 16);
        painter.fillRect(target, Qt::black);
        painter.drawImage(target, m_frozen.copy(source));
        const QRect middle(target.x() + (loupePixels / 2) * loupeZoom,
                           target.y() + (loupePixels / 2) * loupeZoom, loupeZoom, loupeZoom);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(middle.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::black, 2));
        painter.drawRect(target);
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        m_pointer = event->position();
        update();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::RightButton) {
            if (onPick)
                onPick(std::nullopt);
            return;
        }
        if (event->button() != Qt::LeftButton)
            return;
        // A screen whose capture failed picks nothing.
        if (const auto colour = pixelAt(event->position()); colour && onPick)
            onPick(colour);
    }

private:
    QImage m_frozen;
    std::optional<QPointF> m_pointer;
};

LoupeColorSampler::LoupeColorSampler() = default;

LoupeColorSampler::~LoupeColorSampler()
{
    if (m_escape)
        platform().keyInterceptor().disarm(*m_escape);
}

void LoupeColorSampler::sample(std::function<void(std::optional<QColor>)> done)
{
    // One loupe covers every screen: a second request is answered at once.
    if (isOpen()) {
        if (done)
            done(std::nullopt);
        return;
    }
    m_done = std::move(done);
    auto& capture = platform().screenCapture();
    const auto screens = platform().displays().screens();
    std::vector<QImage> images;
    for (const auto& screen : screens)
        images.push_back(capture.capture(screen));
    for (size_t i = 0; i < screens.size(); ++i) {
        auto window = std::make_unique<LoupeWindow>(screens[i], images[i]);
        window->onPick = [this](std::optional<QColor> colour) {
            // Not from inside the window's own event: finishing deletes it.
            platform().mainQueue().post([this, colour] {
                if (isOpen())
                    finish(colour);
            });
        };
        platform().overlayWindows().show(*window);
        m_windows.push_back(std::move(window));
    }
    if (m_windows.empty()) {
        finish(std::nullopt);
        return;
    }
    m_escape = platform().keyInterceptor().arm(
        KeyGrab{{escapeKey}, everyModifierCombination()}, [this](const KeyEvent& key) {
            if (key.keyCode != escapeKey || key.type != KeyEvent::Type::keyDown)
                return false;
            platform().mainQueue().post([this] {
                if (isOpen())
                    finish(std::nullopt);
            });
            return true;
        });
}

void LoupeColorSampler::finish(std::optional<QColor> colour)
{
    if (m_escape) {
        platform().keyInterceptor().disarm(*m_escape);
        m_escape.reset();
    }
    for (auto& window : m_windows)
        platform().overlayWindows().hide(*window);
    m_windows.clear();
    auto done = std::move(m_done);
    m_done = nullptr;
    if (done)
        done(colour);
}

} // namespace quillon::platform::linux_
