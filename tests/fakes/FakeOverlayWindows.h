#pragma once

#include "platform/MotionPreference.h"
#include "platform/OverlayWindows.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

namespace quillon::fakes {

/// Overlays as plain offscreen widgets, with what was asked of them recorded.
class FakeOverlayWindows final : public platform::OverlayWindows {
public:
    struct Record {
        QPointer<QWidget> window;
        platform::OverlayStyle style;
        std::optional<QRectF> frame;
        std::optional<QPainterPath> shape;
        int shapeCount = 0;
        /// The bounds of every shape set, in order.
        std::vector<QRectF> shapeBounds;
        std::optional<QRectF> inputRegion;
        bool shown = false;
    };

    bool translucent() override { return translucentWindows; }
    void prepare(QWidget& window, const platform::OverlayStyle& style) override;
    void setFrame(QWidget& window, const QRectF& frame) override;
    void show(QWidget& window) override;
    void hide(QWidget& window) override;
    void setShape(QWidget& window, const QPainterPath& outline) override;
    void setInputRegion(QWidget& window, const QRectF& rect) override { recordOf(window).inputRegion = rect; }

    /// The record of a window; none for one never prepared.
    const Record* find(const QWidget* window) const;
    /// Windows shown and not hidden since, in the order they were shown.
    std::vector<QWidget*> shownWindows() const;

    bool translucentWindows = true;
    std::vector<Record> records;

private:
    Record& recordOf(QWidget& window);
};

class FakeMotionPreference final : public platform::MotionPreference {
public:
    bool reduceMotion() const override { return reduce; }
    bool reduce = false;
};

} // namespace quillon::fakes
