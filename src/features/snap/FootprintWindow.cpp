#include "features/snap/FootprintWindow.h"

#include "platform/Platform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>

namespace quillon {

namespace {

/// The palette's highlight stands in for the system accent colour.
QColor accent()
{
    return QGuiApplication::palette().color(QPalette::Highlight);
}

class FootprintView final : public QWidget {
public:
    FootprintView() { setAttribute(Qt::WA_TranslucentBackground); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double half = FootprintWindow::borderWidth / 2;
        const QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
        QColor fill = accent();
        fill.setAlphaF(0.22f);
        painter.setPen(QPen(accent(), FootprintWindow::borderWidth));
        painter.setBrush(platform::platform().overlayWindows().translucent() ? QBrush(fill)
                                                                             : QBrush(Qt::NoBrush));
        painter.drawRoundedRect(r, FootprintWindow::cornerRadius, FootprintWindow::cornerRadius);
    }
};

QRectF lerp(const QRectF& a, const QRectF& b, double t)
{
    return QRectF(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t,
                  a.width() + (b.width() - a.width()) * t, a.height() + (b.height() - a.height()) * t);
}

} // namespace

FootprintWindow::FootprintWindow() = default;

FootprintWindow::~FootprintWindow()
{
    dispose();
}

void FootprintWindow::ensureWindow()
{
    if (m_window)
        return;
    m_window = std::make_unique<FootprintView>();
    platform::platform().overlayWindows().prepare(*m_window, platform::OverlayStyle{level, true});
    m_animator = std::make_unique<Animator>([this] { frameTick(); });
}

void FootprintWindow::place(const QRectF& frame)
{
    m_frame = frame;
    platform::OverlayWindows& overlays = platform::platform().overlayWindows();
    overlays.setFrame(*m_window, frame);
    if (!overlays.translucent()) {
        // Nothing translucent without a compositor: the border alone, so the
        // windows below stay in sight.
        QPainterPath outer, inner;
        const QRectF r(QPointF(0, 0), frame.size());
        outer.addRoundedRect(r, cornerRadius, cornerRadius);
        inner.addRoundedRect(r.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth),
                             cornerRadius - borderWidth, cornerRadius - borderWidth);
        overlays.setShape(*m_window, outer.subtracted(inner));
    }
}

void FootprintWindow::show(const QRectF& frame)
{
    ensureWindow();
    m_hiding = false;
    platform::OverlayWindows& overlays = platform::platform().overlayWindows();
    const bool hidden = !m_shown || m_alpha < 0.01;
    if (!overlays.translucent()) {
        if (m_completion)
            m_animator->drop(std::exchange(m_completion, 0));
        place(frame);
        m_alpha = 1.0;
        m_window->setWindowOpacity(1.0);
        overlays.show(*m_window);
        m_shown = true;
        return;
    }
    if (hidden) {
        place(frame);
        m_alpha = 0;
        m_window->setWindowOpacity(0);
    }
    overlays.show(*m_window);
    m_shown = true;
    animate(1.0, frame, showDuration);
}

void FootprintWindow::hide()
{
    if (!m_window || !m_shown)
        return;
    if (m_alpha <= 0.01) {
        // Still invisible, though a fade-in may have begun: a hide must not
        // let it go on and leave a footprint behind.
        m_hiding = false;
        m_fromAlpha = m_toAlpha = m_alpha = 0;
        m_fromFrame = m_toFrame = m_frame;
        m_window->setWindowOpacity(0);
        m_shown = false;
        platform::platform().overlayWindows().hide(*m_window);
        return;
    }
    if (!platform::platform().overlayWindows().translucent()) {
        dispose();
        return;
    }
    m_hiding = true;
    animate(0.0, m_frame, hideDuration);
    m_animator->drop(m_completion);
    m_completion = m_animator->at(m_start + m_duration, [this] {
        m_completion = 0;
        if (!m_hiding)
            return;
        m_hiding = false;
        m_shown = false;
        platform::platform().overlayWindows().hide(*m_window);
    });
}

void FootprintWindow::dispose()
{
    m_hiding = false;
    if (m_animator && m_completion)
        m_animator->drop(std::exchange(m_completion, 0));
    m_animator.reset();
    if (m_window && m_shown)
        platform::platform().overlayWindows().hide(*m_window);
    m_window.reset();
    m_shown = false;
    m_alpha = 0;
}

void FootprintWindow::animate(double toAlpha, const QRectF& toFrame, double duration)
{
    m_start = Animator::now();
    m_duration = duration;
    m_fromAlpha = m_alpha;
    m_toAlpha = toAlpha;
    m_fromFrame = m_frame;
    m_toFrame = toFrame;
    m_animator->runUntil(m_start + duration);
}

void FootprintWindow::frameTick()
{
    if (!m_window)
        return;
    const double t = m_duration > 0 ? std::clamp((Animator::now() - m_start) / m_duration, 0.0, 1.0) : 1.0;
    m_alpha = m_fromAlpha + (m_toAlpha - m_fromAlpha) * t;
    m_window->setWindowOpacity(m_alpha);
    const QRectF frame = lerp(m_fromFrame, m_toFrame, t);
    if (frame != m_frame)
        place(frame);
}

} // namespace quillon
