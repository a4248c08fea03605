#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>

namespace quillon {

/// The content of one selection window: the screen's still image, dimmed,
/// with the selection clear and outlined and its size under it. A left drag
/// selects; a click or a selection under the minimum cancels.
class OCRSelectionView final : public QWidget {
public:
    OCRSelectionView(QImage frozen, QWidget* parent);

    /// The selection in view coordinates (y down).
    std::function<void(const QRectF&)> onFinish;
    std::function<void()> onCancel;

    std::optional<QPointF> start() const { return m_start; }
    std::optional<QPointF> current() const { return m_current; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_frozen;
    std::optional<QPointF> m_start;
    std::optional<QPointF> m_current;
};

} // namespace quillon
