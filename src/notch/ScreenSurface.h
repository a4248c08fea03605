#pragma once

#include "notch/NotchBarView.h"
#include "notch/NotchSurface.h"
#include "platform/OverlayWindows.h"

#include <QPointer>
#include <QWidget>

namespace quillon {

/// Bars at the real notch, each in a floating panel of its own above every
/// window, on every workspace, never taking a click or the focus.
class ScreenSurface final : public NotchSurface {
public:
    /// Above the top panel and ordinary windows that stay on top.
    static constexpr int panelLevel = 27;

    /// The notch of the display that carries the bar, in screen coordinates.
    std::optional<QRectF> notchRect() const override;
    std::shared_ptr<NotchMount> mount(NotchBarView* bar, const QRectF& frame) override;

    /// Makes a new top-level widget a panel at the notch; answers whether it
    /// can be translucent. Without a compositor its background is the bar's
    /// black, so what the window shape's edge lets through blends in.
    static bool preparePanel(QWidget& panel, const platform::OverlayStyle& style);
    /// Puts the bar into the panel at its origin and shows it. A panel that
    /// cannot be translucent takes the bar's outline as its shape on every
    /// frame as the bar grows and shrinks.
    static void adoptBar(QWidget& panel, NotchBarView& bar, bool translucent);
    /// Takes the bar out of its panel and deletes it later.
    static void dropBar(NotchBarView& bar);

    /// One panel holding one bar.
    class PanelMount final : public NotchMount {
    public:
        PanelMount(NotchBarView* bar, const QRectF& frame);
        ~PanelMount() override;
        NotchBarView* bar() const override { return m_bar; }
        void replace(NotchBarView* bar, const QRectF& frame) override;
        void move(const QRectF& frame) override;
        void remove() override;
        QWidget* panel() const { return m_panel; }

    private:
        QPointer<QWidget> m_panel;
        QPointer<NotchBarView> m_bar;
        bool m_translucent = true;
    };
};

} // namespace quillon
