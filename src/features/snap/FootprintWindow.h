#pragma once

#include "support/Animator.h"

#include <QRectF>
#include <QWidget>
#include <memory>

namespace quillon {

/// The preview of where a window will go: the accent colour, faint inside
/// and with a 2-point border, below the notch's panels and click-through.
/// With a compositor it fades in (0.09 s), glides between targets and fades
/// out (0.12 s); without one only the border shows, cut to its outline, and
/// it comes and goes at once.
class FootprintWindow {
public:
    static constexpr int level = 8;
    static constexpr double showDuration = 0.09;
    static constexpr double hideDuration = 0.12;
    static constexpr double borderWidth = 2.0;
    static constexpr double cornerRadius = 10.0;

    FootprintWindow();
    ~FootprintWindow();
    FootprintWindow(const FootprintWindow&) = delete;
    FootprintWindow& operator=(const FootprintWindow&) = delete;

    /// Shows the footprint at a y-up frame.
    void show(const QRectF& frame);
    /// Fades it out; nothing when it is hidden already.
    void hide();
    /// Takes the window away at once.
    void dispose();

    /// A fade-out is under way.
    bool hiding() const { return m_hiding; }
    double alpha() const { return m_alpha; }
    /// On screen (at any alpha).
    bool isShown() const { return m_window && m_shown; }
    QRectF frame() const { return m_frame; }
    QWidget* window() const { return m_window.get(); }

private:
    void ensureWindow();
    void animate(double toAlpha, const QRectF& toFrame, double duration);
    void frameTick();
    void place(const QRectF& frame);

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<Animator> m_animator;
    bool m_hiding = false;
    bool m_shown = false;
    double m_alpha = 0;
    QRectF m_frame;
    // The running animation.
    double m_start = 0, m_duration = 0;
    double m_fromAlpha = 0, m_toAlpha = 0;
    QRectF m_fromFrame, m_toFrame;
    int m_completion = 0;
};

} // namespace quillon
