#pragma once

#include "features/snap/SnapPosition.h"

#include <QWidget>
#include <array>
#include <optional>

namespace quillon {

/// The dial: eight ring segments on a dark rounded square, the selected one
/// in the accent colour with its icon in the middle. Angles are y-up, so the
/// top half is drawn above the centre.
class SnapDialView final : public QWidget {
public:
    static constexpr double side = 104;
    /// The eight positions by angle, counter-clockwise from the right.
    static constexpr std::array<SnapPosition, 8> order{
        SnapPosition::rightHalf,  SnapPosition::topRight,    SnapPosition::topHalf,
        SnapPosition::topLeft,    SnapPosition::leftHalf,    SnapPosition::bottomLeft,
        SnapPosition::bottomHalf, SnapPosition::bottomRight,
    };

    SnapDialView();

    std::optional<SnapPosition> selected() const { return m_selected; }
    /// Redraws only when the selection changes.
    void setSelected(std::optional<SnapPosition> selected);

    /// The rounded square the dial is cut to without a compositor.
    static QPainterPath outline(const QRectF& bounds);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<SnapPosition> m_selected;
};

} // namespace quillon
