#pragma once

#include <QWidget>

namespace quillon {

/// The "Drop to add" plate over the place of the cards during a file drag.
class DropPlateView final : public QWidget {
public:
    using QWidget::QWidget;

    bool highlighted = false;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace quillon
