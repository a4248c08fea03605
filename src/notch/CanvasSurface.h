#pragma once

#include "notch/NotchBarView.h"
#include "notch/NotchSurface.h"

#include <QPointer>
#include <QWidget>

namespace quillon {

/// Bars inside a host widget (a preview in a settings pane) at a fixed notch,
/// kept below the host's `lens` widget. The notch is given in the host's own
/// coordinates (y down); the controller sees it y up, as on a screen.
class CanvasSurface final : public NotchSurface {
public:
    CanvasSurface(QWidget* canvas, const std::optional<QRectF>& notch, QWidget* lens);

    std::optional<QRectF> notchRect() const override;
    std::shared_ptr<NotchMount> mount(NotchBarView* bar, const QRectF& frame) override;

    class CanvasMount final : public NotchMount {
    public:
        CanvasMount(NotchBarView* bar, QWidget* canvas, QWidget* lens);
        ~CanvasMount() override;
        NotchBarView* bar() const override { return m_bar; }
        void replace(NotchBarView* bar, const QRectF& frame) override;
        void move(const QRectF& frame) override;
        void remove() override;

    private:
        void place(NotchBarView* bar, const QRectF& frame);

        QPointer<NotchBarView> m_bar;
        QPointer<QWidget> m_canvas;
        QPointer<QWidget> m_lens;
    };

private:
    QPointer<QWidget> m_canvas;
    std::optional<QRectF> m_notch;
    QPointer<QWidget> m_lens;
};

} // namespace quillon
