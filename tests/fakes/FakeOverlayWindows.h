#pragma once

#include "platform/MotionPreference.h"
#include "platform/Observers.h"
#include "platform/OverlayWindows.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <set>
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
        /// Where it was last stacked: above this client, or at the back.
        std::optional<platform::WindowId> above;
        bool atBack = false;
        /// How often it was stacked by either call.
        int stackings = 0;
    };

    bool translucent() override { return translucentWindows; }
    void prepare(QWidget& window, const platform::OverlayStyle& style) override;
    void setFrame(QWidget& window, const QRectF& frame) override;
    void show(QWidget& window) override;
    void hide(QWidget& window) override;
    void setShape(QWidget& window, const QPainterPath& outline) override;
    void setInputRegion(QWidget& window, const QRectF& rect) override { recordOf(window).inputRegion = rect; }
    bool stackAbove(QWidget& window, platform::WindowId client) override;
    void stackAtBack(QWidget& window) override;
    int addCompositorHandler(std::function<void()> handler) override
    {
        return m_compositorHandlers.add(std::move(handler));
    }
    void removeCompositorHandler(int token) override { m_compositorHandlers.remove(token); }

    /// A compositor starts (true) or stops; the handlers are told.
    void setTranslucent(bool on)
    {
        translucentWindows = on;
        m_compositorHandlers.notify();
    }

    /// The record of a window; none for one never prepared.
    const Record* find(const QWidget* window) const;
    /// Windows shown and not hidden since, in the order they were shown.
    std::vector<QWidget*> shownWindows() const;

    bool translucentWindows = true;
    std::vector<Record> records;
    /// Clients that have gone away: stacking above them fails.
    std::set<platform::WindowId> goneClients;

private:
    Record& recordOf(QWidget& window);
    platform::Observers<> m_compositorHandlers;
};

class FakeMotionPreference final : public platform::MotionPreference {
public:
    bool reduceMotion() const override { return reduce; }
    bool reduce = false;
};

} // namespace quillon::fakes
