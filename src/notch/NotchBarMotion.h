#pragma once

#include "notch/NotchShape.h"
#include "support/Animation.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <optional>
#include <vector>

namespace quillon {

/// What moves on a bar over time: the body growing out of the notch and
/// shrinking back, its dissolve, the fade of the content, the accent outline's
/// sweep and breathing, and the highlights of pulsed items. Plain state: each
/// change takes the time it happens at, and `frameAt` says what the bar looks
/// like at any time, so the view only draws frames.
class NotchBarMotion {
public:
    static constexpr double openMass = 1, openStiffness = 430, openDamping = 26;
    static constexpr double fadeInDuration = 0.12;
    static constexpr double closeDuration = 0.17;
    static constexpr double fadeOutDuration = 0.15;
    static constexpr double sweepDuration = 0.35;
    static constexpr double outlineOpacity = 0.35;
    static constexpr double pulseDuration = 0.5;

    /// The spring the body opens with.
    static Spring openSpring() { return {openMass, openStiffness, openDamping}; }

    /// One half of the accent outline.
    struct Stroke {
        QPainterPath path;
        QColor color;
        /// How much of the path is drawn, from its start (the top edge).
        double strokeEnd = 1;
        double opacity = outlineOpacity;
    };
    struct Highlight {
        QRectF rect;
        double opacity = 0;
    };
    /// The bar at one moment, in its widget coordinates (y down).
    struct Frame {
        /// The body's outline; nothing before the bar was first opened.
        std::optional<QPainterPath> body;
        std::optional<NotchShape> bodyShape;
        double bodyOpacity = 1;
        double contentAlpha = 0;
        std::vector<Stroke> outline;
        std::vector<Highlight> highlights;
    };

    NotchBarMotion(const NotchShape& full, const NotchShape& notch, double height);

    /// Opens the body from `from` (the notch shape when none) to the full
    /// shape with the spring; the content fades in, at once when a start
    /// shape was given.
    void animateIn(const std::optional<NotchShape>& from, double now);
    /// Closes the body back into the notch shape and fades everything out.
    /// Answers when the closing ends.
    double animateOut(double now);
    bool isClosing() const;
    /// Fully open at once.
    void showStatic();
    /// Flashes a highlight behind an item's rectangle.
    void pulse(const QRectF& itemRect, double now);
    /// Shows the outline once (a second call keeps the first colour) or removes
    /// it. Breathing outlines pulse for ever unless motion is reduced.
    void setAccentOutline(bool on, const QColor& color, bool breathing, bool reduceMotion, double now);
    bool hasOutline() const { return !m_outline.empty(); }

    Frame frameAt(double time) const;
    /// Until when frames keep changing; for ever when `repeats()`.
    double busyUntil() const;
    bool repeats() const;
    /// Forgets animations and highlights that are over.
    void prune(double now);

private:
    struct PathAnimation {
        NotchShape from;
        NotchShape to;
        Animation progress;
        bool closing = false;
    };
    struct OutlineLayer {
        QPainterPath path;
        QColor color;
        AnimatedValue strokeEnd;
        AnimatedValue opacity;
    };
    struct Pulse {
        QRectF rect;
        double begin;
    };

    std::optional<NotchShape> shapeAt(double time) const;

    NotchShape m_full;
    NotchShape m_notch;
    double m_height;
    std::optional<NotchShape> m_path;
    std::optional<PathAnimation> m_pathAnimation;
    AnimatedValue m_opacity{1, {}};
    AnimatedValue m_fade{0, {}};
    std::vector<OutlineLayer> m_outline;
    std::vector<Pulse> m_pulses;
};

} // namespace quillon
