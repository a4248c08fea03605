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

bool ScreenSurface::preparePanel(QWidget& panel, const platform::OverlayStyle& style)
{
    panel.setWindowTitle(QStringLiteral("Quillon notch"));
    overlays().prepare(panel, style);
    const bool translucent = overlays().translucent();
    if (!translucent) {
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, DS::hudBlack());
        panel.setPalette(palette);
    }
    return translucent;
}

void ScreenSurface::adoptBar(QWidget& panel, NotchBarView& bar, bool translucent)
{
    bar.setParent(&panel);
    bar.move(0, 0);
    if (!translucent) {
        // Without a compositor the window shows only the body, cut anew on
        // every frame as it grows and shrinks.
        QPointer<QWidget> window = &panel;
        bar.onBodyChanged = [window](const QPainterPath& body) {
            if (window)
                overlays().setShape(*window, body);
        };
        bar.setOpaqueWindow(true);
    }
    bar.show();
}

void ScreenSurface::dropBar(NotchBarView& bar)
{
    bar.onBodyChanged = nullptr;
    bar.hide();
    bar.deleteLater();
}

ScreenSurface::PanelMount::PanelMount(NotchBarView* bar, const QRectF& frame)
    : m_panel(new QWidget)
{
    m_translucent = preparePanel(*m_panel, {panelLevel, true});
    overlays().setFrame(*m_panel, frame);
    m_bar = bar;
    adoptBar(*m_panel, *bar, m_translucent);
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

void ScreenSurface::PanelMount::replace(NotchBarView* bar, const QRectF& frame)
{
    if (!m_panel)
        return;
    overlays().setFrame(*m_panel, frame);
    if (m_bar)
        dropBar(*m_bar);
    m_bar = bar;
    adoptBar(*m_panel, *bar, m_translucent);
}

void ScreenSurface::PanelMount::move(const QRectF& frame)
{
    if (m_panel)
        overlays().setFrame(*m_panel, frame);
}

void ScreenSurface::PanelMount::remove()
{
    if (m_panel)
        overlays().hide(*m_panel);
}

} // namespace quillon
