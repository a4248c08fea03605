#include "features/swipe/SpaceOSD.h"

#include "features/snap/SnapPosition.h"
#include "platform/Platform.h"
#include "support/Animator.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>

namespace quillon {

namespace {

constexpr double cornerRadius = 18;

/// The heads-up panel: a dark rounded square with the number in large type.
/// Translucent with a compositor; opaque, and cut to its shape, without one.
class OsdPanel final : public QWidget {
public:
    QString text;
    double opacity = 1.0;
    bool translucent = true;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setOpacity(opacity);
        QPainterPath panel;
        panel.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
        painter.fillPath(panel, QColor(28, 28, 30, translucent ? 215 : 255));
        QFont font = painter.font();
        font.setPixelSize(48);
        font.setWeight(QFont::Medium);
        painter.setFont(font);
        painter.setPen(QColor(255, 255, 255, 235));
        painter.drawText(rect(), Qt::AlignCenter, text);
    }
};

OsdPanel* panelOf(const std::unique_ptr<QWidget>& window)
{
    return static_cast<OsdPanel*>(window.get());
}

} // namespace

SpaceOSD::SpaceOSD() = default;

SpaceOSD::~SpaceOSD()
{
    dismiss();
}

void SpaceOSD::show(const QString& text, int durationMs)
{
    m_hideWork.cancel();
    if (!m_window && !createWindow())
        return;
    if (m_fade) {
        m_fade->drop(m_fadeDone);
        m_fade.reset();
    }
    auto& windows = platform::platform().overlayWindows();
    OsdPanel* panel = panelOf(m_window);
    panel->text = text;
    panel->opacity = 1.0;
    panel->update();
    positionOnCursorScreen(*m_window);
    windows.show(*m_window);
    m_hideWork = platform::platform().mainQueue().after(durationMs / 1000.0, [this] { fadeOut(); });
}

void SpaceOSD::dismiss()
{
    m_hideWork.cancel();
    m_fade.reset();
    if (m_window)
        platform::platform().overlayWindows().hide(*m_window);
    m_window.reset();
}

QWidget* SpaceOSD::window() const
{
    return m_window.get();
}

QString SpaceOSD::text() const
{
    return m_window ? panelOf(m_window)->text : QString();
}

bool SpaceOSD::createWindow()
{
    auto& windows = platform::platform().overlayWindows();
    auto panel = std::make_unique<OsdPanel>();
    panel->translucent = windows.translucent();
    platform::OverlayStyle style;
    style.level = level;
    style.clickThrough = true;
    windows.prepare(*panel, style);
    panel->resize(int(side), int(side));
    if (!panel->translucent) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(0, 0, side, side), cornerRadius, cornerRadius);
        windows.setShape(*panel, shape);
    }
    m_window = std::move(panel);
    return true;
}

// An alpha-0 window still shows without a compositor, so the panel is
// hidden once faded; without one there is no fade at all.
void SpaceOSD::fadeOut()
{
    if (!m_window)
        return;
    if (!panelOf(m_window)->translucent) {
        hideNow();
        return;
    }
    m_fadeStart = Animator::now();
    m_fade = std::make_unique<Animator>([this] {
        OsdPanel* panel = panelOf(m_window);
        panel->opacity = std::clamp(1.0 - (Animator::now() - m_fadeStart) / fadeSeconds, 0.0, 1.0);
        panel->update();
    });
    m_fade->runUntil(m_fadeStart + fadeSeconds);
    m_fadeDone = m_fade->at(m_fadeStart + fadeSeconds, [this] { hideNow(); });
}

void SpaceOSD::hideNow()
{
    if (m_window)
        platform::platform().overlayWindows().hide(*m_window);
}

void SpaceOSD::positionOnCursorScreen(QWidget& window)
{
    auto& p = platform::platform();
    auto screen = containing(p.pointer().location());
    if (!screen)
        screen = p.displays().mainScreen();
    if (!screen)
        return;
    const QPointF centre = screen->visibleFrame.center();
    p.overlayWindows().setFrame(window, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side));
}

} // namespace quillon
