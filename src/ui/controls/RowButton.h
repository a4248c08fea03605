#pragma once

#include <QAbstractButton>
#include <QColor>

class QHBoxLayout;

namespace quillon {

/// A whole row that is one button: its content lies out in `contentLayout()`
/// and a soft wash shows under it while the pointer is over it or it is
/// pressed. The wash reaches 7 past the content at the sides and 4 above and
/// below, so the content keeps its place in the row.
class RowButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit RowButton(QWidget* parent = nullptr);

    QHBoxLayout* contentLayout() const { return m_layout; }
    /// The wash's opacity of the text colour: 10 % pressed, 5.5 % hovered and
    /// enabled, else none.
    static double washOpacity(bool pressed, bool hovered, bool enabled);
    /// The wash as it would be drawn now.
    QColor wash() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QHBoxLayout* m_layout = nullptr;
    bool m_hovering = false;
};

/// "Show me": a clickable row with a play glyph and a two-line label.
class ShowMeRow final : public RowButton {
    Q_OBJECT

public:
    ShowMeRow(const QString& title, const QString& sub, std::function<void()> action,
              QWidget* parent = nullptr);
};

} // namespace quillon
