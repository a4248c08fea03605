#include "ui/controls/FlowLayout.h"

#include <QWidget>
#include <algorithm>
#include <limits>

namespace quillon {

FlowLayout::FlowLayout(int spacing, QWidget* parent)
    : QLayout(parent)
    , m_gap(spacing)
{
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

FlowLayout::Arrangement FlowLayout::arrange(int width, const std::vector<QSize>& sizes, int spacing)
{
    Arrangement result;
    int x = 0, y = 0, lineHeight = 0, widest = 0;
    for (const QSize& size : sizes) {
        if (x > 0 && x + size.width() > width) {
            y += lineHeight + spacing;
            x = 0;
            lineHeight = 0;
        }
        result.positions.emplace_back(x, y);
        x += size.width() + spacing;
        widest = std::max(widest, x - spacing);
        lineHeight = std::max(lineHeight, size.height());
    }
    result.size = QSize(widest, y + lineHeight);
    return result;
}

void FlowLayout::addItem(QLayoutItem* item)
{
    m_items.append(item);
}

QLayoutItem* FlowLayout::takeAt(int index)
{
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

std::vector<QSize> FlowLayout::hints() const
{
    std::vector<QSize> sizes;
    for (QLayoutItem* item : m_items)
        sizes.push_back(item->isEmpty() ? QSize(0, 0) : item->sizeHint());
    return sizes;
}

QSize FlowLayout::sizeHint() const
{
    return arrange(std::numeric_limits<int>::max() / 2, hints(), m_gap).size;
}

QSize FlowLayout::minimumSize() const
{
    // Any width will do: a narrower row only wraps more, and its height
    // comes from heightForWidth.
    return QSize(0, 0);
}

int FlowLayout::heightForWidth(int width) const
{
    return arrange(width, hints(), m_gap).size.height();
}

void FlowLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const auto sizes = hints();
    const auto arrangement = arrange(rect.width(), sizes, m_gap);
    for (int i = 0; i < m_items.size(); ++i)
        m_items[i]->setGeometry(QRect(rect.topLeft() + arrangement.positions[size_t(i)], sizes[size_t(i)]));
}

} // namespace quillon
