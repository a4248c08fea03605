#pragma once

#include <QLayout>
#include <QList>
#include <QPoint>
#include <QSize>
#include <vector>

namespace quillon {

/// Lays its items out left to right, wrapping to a new line when the next one
/// would pass the width; one gap between neighbours and between lines.
class FlowLayout final : public QLayout {
public:
    struct Arrangement {
        QSize size;
        std::vector<QPoint> positions;
    };

    explicit FlowLayout(int spacing, QWidget* parent = nullptr);
    ~FlowLayout() override;

    /// Positions for items of `sizes` in `width`. An item at the start of a
    /// line stays there even when wider than `width`; no trailing gap counts.
    static Arrangement arrange(int width, const std::vector<QSize>& sizes, int spacing);

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override { return m_items.value(index); }
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;

private:
    std::vector<QSize> hints() const;

    QList<QLayoutItem*> m_items;
    int m_gap;
};

} // namespace quillon
