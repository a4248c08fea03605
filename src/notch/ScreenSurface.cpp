#include "notch/ScreenSurface.h"

#include "notch/NotchBarView.h"
#include "notch/NotchGeometry.h"
#include "platform/Platform.h"
#include "support/DS.h"

namespace quillon {

namespace {

platform::OverlayWindows& overlays()
{
    return platform::platform().overlayWindows();
}

} // namespace

std::optional<QRectF> ScreenSurface::notchRect() const
{
    const auto hud = NotchGeometry::hudScreen();
    if (!hud)
        return std::nullopt;
    return hud->notch;
}

std::shared_ptr<NotchMount> ScreenSurface::mount(NotchBarView* bar, const QRectF& frame)
{
    return std::make_shared<PanelMount>(bar, frame);
}

ScreenSurface::PanelMount::PanelMount(NotchBarView* bar, const QRectF& frame)
    : m_panel(new QWidget)
{
    m_panel->setWindowTitle(QStringLiteral("Quillon notch"));
    overlays().prepare(*m_panel, {panelLevel, true});
    m_translucent = overlays().translucent();
    if (!m_translucent) {
        // What the window shape's edge lets through blends into black.
        QPalette palette = m_panel->palette();
        palette.setColor(QPalette::Window, DS::hudBlack());
        m_panel->setPalette(palette);
    }
    overlays().setFrame(*m_panel, frame);
    adopt(bar);
    overlays().show(*m_panel);
}

ScreenSurface::PanelMount::~PanelMount()
{
    // Later: a closing bar's own completion may be what releases the mount.
    if (m_panel) {
        overlays().hide(*m_panel);
        m_panel->deleteLater();
    }
}

void ScreenSurface::PanelMount::adopt(NotchBarView* bar)
{
    m_bar = bar;
    bar->setParent(m_panel);
    bar->move(0, 0);
    if (!m_translucent) {
        // Without a compositor the window shows only the body, cut anew on
        // every frame as it grows and shrinks.
        QPointer<QWidget> panel = m_panel;
        bar->onBodyChanged = [panel](const QPainterPath& body) {
            if (panel)
                overlays().setShape(*panel, body);
        };
        bar->setOpaqueWindow(true);
    }
    bar->show();
}

void ScreenSurface::PanelMount::replace(NotchBarView* bar, const QRectF& frame)
{
    if (!m_panel)
        return;
    overlays().setFrame(*m_panel, frame);
    if (m_bar) {
        m_bar->onBodyChanged = nullptr;
        m_bar->hide();
        m_bar->deleteLater();
    }
    adopt(bar);
}

void ScreenSurface::PanelMount::remove()
{
    if (m_panel)
        overlays().hide(*m_panel);
}

} // namespace quillon
