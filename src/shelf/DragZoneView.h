#pragma once

#include "platform/MainQueue.h"

#include <QWidget>
#include <memory>
#include <optional>

namespace quillon {

/// A drop zone shown while files are dragged. Its highlight settles for 50 ms
/// before it shows, so a drag crossing an edge does not flicker it. Faded out,
/// it takes no clicks.
class DragZoneView : public QWidget {
public:
    explicit DragZoneView(QWidget* parent = nullptr);
    ~DragZoneView() override;

    void setHighlighted(bool on);
    bool highlighted() const { return m_highlighted; }

    /// The zone's alpha, as the panel fades it.
    void setAlpha(double alpha);
    double alpha() const { return m_alpha; }
    /// Repaints since construction (the highlight's debounce is seen here).
    int paintCount() const { return m_paintCount; }

protected:
    void paintEvent(QPaintEvent* event) override;
    /// The zone's own drawing in a painter on it.
    virtual void draw(QPainter& painter) = 0;

private:
    bool m_highlighted = false;
    std::optional<bool> m_pendingHighlight;
    platform::WorkItem m_debounce;
    double m_alpha = 1;
    int m_paintCount = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
