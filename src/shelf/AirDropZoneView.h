#pragma once

#include "shelf/DragZoneView.h"

namespace quillon {

/// The zone that sends dropped files to a device: an accent plate with rings.
class AirDropZoneView final : public DragZoneView {
public:
    using DragZoneView::DragZoneView;

protected:
    void draw(QPainter& painter) override;
};

} // namespace quillon
