#pragma once

#include "notch/MediaKey.h"
#include "notch/NotchBarView.h"
#include "notch/NowPlayingChipState.h"
#include "platform/MainQueue.h"

#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <functional>
#include <memory>

namespace quillon {

class NotchStage;

/// The now-playing panel itself: it takes the pointer only within its
/// interactive area, tells when the pointer enters and leaves that area and
/// where it clicks (own coordinates, y down). It never takes the focus.
class NowPlayingCatcher final : public QWidget {
public:
    NowPlayingCatcher();

    std::function<void(bool inside)> onHover;
    std::function<void(const QPointF& point)> onClick;

    /// The only area that takes the mouse.
    void setInteractiveRect(const QRectF& rect);
    QRectF interactiveRect() const { return m_interactive; }
    /// Where the pointer is when the panel appears: no enter event comes for
    /// a pointer already resting there, and a leave must still be told.
    void setInside(bool inside) { m_inside = inside; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void track(const QPointF& point);

    QRectF m_interactive;
    bool m_inside = false;
};

/// The now-playing chip at the notch, in a panel of its own under the stage
/// source `nowPlaying`: small while a track plays, expanded with title and
/// artist when it changes, three media buttons while the pointer rests on it.
class NowPlayingController {
public:
    /// The margin of the bar beyond its items and the strip below the notch.
    static constexpr double margin = 14;
    /// How long a new track shows its title before the chip collapses.
    static constexpr double dwellSeconds = 2.5;
    /// Clicks this close outside a button still count for it.
    static constexpr double buttonSlop = 6;
    /// Below the chips and hints, above ordinary windows.
    static constexpr int panelLevel = 25;

    explicit NowPlayingController(NotchStage& stage);
    ~NowPlayingController();
    NowPlayingController(const NowPlayingController&) = delete;
    NowPlayingController& operator=(const NowPlayingController&) = delete;

    /// Told the key of a button clicked.
    std::function<void(MediaKey)> onMediaKey;

    /// Switching off hides the chip and forgets the track.
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    /// Shows the chip as its state says when it owns the notch, else removes it.
    void draw();
    /// Claims the notch while the chip has something to show, releases it
    /// otherwise; redraws when the shown source stays the same.
    void settle();
    /// Collapses an expanded chip after `dwellSeconds`.
    void armDwell();

    NowPlayingChipState& state() { return m_state; }
    const NowPlayingChipState& state() const { return m_state; }
    /// The panel while the chip is drawn.
    NowPlayingCatcher* panel() const { return m_catcher; }
    NotchBarView* bar() const { return m_bar; }

private:
    void hover(bool inside);
    void teardown();
    void present(const NotchContent& content, const QRectF& notch);
    void clicked(const QPointF& point);
    void checkPointer(const QRectF& frame);

    NotchStage& m_stage;
    QPointer<NowPlayingCatcher> m_catcher;
    QPointer<NotchBarView> m_bar;
    bool m_translucent = true;
    NowPlayingChipState m_state;
    platform::WorkItem m_dwell;
    bool m_enabled = false;
    std::shared_ptr<NowPlayingController*> m_self;
};

} // namespace quillon
