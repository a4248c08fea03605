#pragma once

#include "notch/NotchBarLayout.h"
#include "notch/NotchBarMotion.h"
#include "notch/NotchContent.h"
#include "support/Animator.h"

#include <QWidget>
#include <functional>
#include <optional>

namespace quillon {

/// The black bar that grows out of the notch: as wide as the notch, its two
/// wings of items and the margins, as tall as the notch and the caption strip
/// below it. Built once per content (a new content means a new bar). It opens
/// with a spring, closes back into the notch, can show itself at once, flash
/// one item, change its caption and wear a coloured outline. Clicks always
/// pass through it to whatever lies behind.
///
/// Layout and motion live in plain parts (NotchBarLayout, NotchBarMotion);
/// this widget draws their frames as the animation driver asks.
class NotchBarView final : public QWidget {
public:
    using Item = NotchBarItem;

    NotchBarView(const NotchContent& content, const QSizeF& notch, double drop, QWidget* parent = nullptr);
    ~NotchBarView() override;

    /// The view for one item of a wing.
    static NotchItemView itemView(const Item& item);

    /// Opens the bar: the body springs from `from` (the notch, when none) to its
    /// full shape and the content fades in.
    void animateIn(const std::optional<NotchShape>& from = std::nullopt);
    /// Closes the bar into the notch and fades everything; `completion` runs
    /// when that ends (or at once on the next frame when the bar is opened again
    /// first). The bar is left closed and transparent.
    void animateOut(std::function<void()> completion);
    /// Fully open at once, without animation.
    void showStatic();
    /// Flashes the item registered under `key`; nothing for an unknown key.
    void pulse(const QString& key);
    /// Replaces or removes the caption; the bar keeps its size.
    void setCaption(const std::optional<QString>& caption);
    /// Shows (once: the first colour stays) or removes the coloured outline.
    void setAccentOutline(bool on, const QColor& color, bool breathing);

    double leftContentWidth() const { return m_layout.metrics().leftContentWidth; }
    double rightContentWidth() const { return m_layout.metrics().rightContentWidth; }
    double captionLeftOverhang() const { return m_layout.metrics().captionLeftOverhang; }
    double captionRightOverhang() const { return m_layout.metrics().captionRightOverhang; }
    /// The bar's own size (the widget is that, rounded up to whole pixels).
    QSizeF barSize() const { return m_layout.size(); }
    const NotchBarLayout& layout() const { return m_layout; }
    /// Where an item registered under `key` lies in the bar.
    std::optional<QRectF> itemRect(const QString& key) const { return m_layout.itemRect(key); }
    /// How the bar looks now.
    NotchBarMotion::Frame currentFrame() const;

    /// For a window that cannot be translucent: the bar then draws its body at
    /// full strength (fades of the body are immediate) and reports the body's
    /// outline through `onBodyChanged` whenever it changes, so the window can
    /// take that shape. An empty body is never reported: the window keeps its
    /// last shape rather than being cut to nothing between two contents.
    void setOpaqueWindow(bool opaque);
    std::function<void(const QPainterPath& body)> onBodyChanged;

    /// How often the wave moves while nothing else on the bar does.
    static constexpr double waveFrameInterval = 1.0 / 20;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void frameTick();
    void keepRunning();
    void setWavesAnimating(bool on);
    bool wavesAnimating() const;
    /// Whether anything but the waves changes from frame to frame.
    bool moving(double now) const;
    /// Dark colours blended towards white, so they stay visible on black.
    static QColor legibleOutline(const QColor& color);

    NotchBarLayout m_layout;
    NotchBarMotion m_motion;
    Animator m_animator;
    std::optional<int> m_closeToken;
    bool m_opaqueWindow = false;
    /// The body last reported through `onBodyChanged`.
    std::optional<QPainterPath> m_reportedBody;
    bool m_wasMoving = true;
};

} // namespace quillon
