#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>

namespace quillon {

/// One of the strip's icon buttons: a rounded square whose background tells
/// normal, hovered, pressed and (for removal) armed apart.
class HoverButton final : public QAbstractButton {
public:
    explicit HoverButton(const QIcon& icon, QWidget* parent = nullptr);

    bool hovered = false;
    bool armed = false;
    QColor hoverColor;
    /// The symbol's colour (white; green while a copy is confirmed).
    QColor tint = Qt::white;

    /// The background for the button's state.
    QColor background(bool pressed) const;
    /// Redraws with the background of `pressed`.
    void applyBackground(bool pressed);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressedLook = false;
};

} // namespace quillon
