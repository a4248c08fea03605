#pragma once

#include <QIconEngine>

namespace quillon {

/// Draws the status item's glyph at any size: a 15 × 14 rounded box with a
/// notch bitten out of its top edge; an outline with a solid tab while no
/// keep-awake session runs, else filled with the notch and a cup cut out.
class MenuBarIconEngine final : public QIconEngine {
public:
    explicit MenuBarIconEngine(bool sessionActive);

    static constexpr QSizeF naturalSize{15, 14};
    /// The glyph in black on transparent, `scale` pixels per point.
    static QImage render(bool sessionActive, qreal scale);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    /// Tells the two drawings apart: "menubar" and "menubar.session".
    QString iconName() override;

private:
    bool m_sessionActive;
};

} // namespace quillon
