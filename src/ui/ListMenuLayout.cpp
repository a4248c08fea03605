#include "ui/ListMenuLayout.h"

#include <algorithm>

namespace quillon {

namespace {

constexpr double textLeft = 37;

} // namespace

double ListMenuLayout::visibleHeight(int visibleRows, int itemCount)
{
    return rowHeight * std::min(visibleRows, std::max(itemCount, 1));
}

QSizeF ListMenuLayout::panelSize(int visibleRows, int itemCount)
{
    return {panelWidth, visibleHeight(visibleRows, itemCount) + 65};
}

QRectF ListMenuLayout::headerFrame()
{
    return {16, 10, 308, 15};
}

QRectF ListMenuLayout::rowsFrame(int visibleRows, int itemCount)
{
    return {6, 29, rowWidth, visibleHeight(visibleRows, itemCount)};
}

QRectF ListMenuLayout::footerFrame(int visibleRows, int itemCount)
{
    return {6, visibleHeight(visibleRows, itemCount) + 29, rowWidth, footerHeight};
}

double ListMenuLayout::containerHeight(int visibleRows, int itemCount)
{
    return std::max(rowHeight * itemCount, visibleHeight(visibleRows, itemCount));
}

QRectF ListMenuLayout::rowFrame(int index)
{
    return {0, rowHeight * index, rowWidth, rowHeight};
}

double ListMenuLayout::emptyLabelTop(int visibleRows, double labelHeight)
{
    return (visibleHeight(visibleRows, 0) - labelHeight) / 2;
}

QRectF ListMenuLayout::digitFrame()
{
    return {10, (rowHeight - 14) / 2, 16, 14};
}

QRectF ListMenuLayout::glyphFrame()
{
    return {rowWidth - 10 - 16, (rowHeight - 16) / 2, 16, 16};
}

ListMenuLayout::RowText ListMenuLayout::rowText(double fittedTitleWidth, bool hasDetail)
{
    const double shared = glyphFrame().left() - 11 - textLeft;
    const double titleTop = (rowHeight - 16) / 2;
    if (!hasDetail)
        return {{textLeft, titleTop, shared, 16}, {}};
    const double title = std::min(shared / 2, fittedTitleWidth);
    const double detailLeft = textLeft + title + 10;
    return {{textLeft, titleTop, title, 16},
            {detailLeft, (rowHeight - 15) / 2, std::max(shared - title - 10, 0.0), 15}};
}

QRectF ListMenuLayout::placement(const QPointF& pointer, const QSizeF& size,
                                 const std::vector<platform::Screen>& screens,
                                 const std::optional<platform::Screen>& mainScreen)
{
    QRectF visible(0, 0, 1470, 900);
    const auto under = std::find_if(screens.begin(), screens.end(), [&](const platform::Screen& screen) {
        return screen.frame.contains(pointer);
    });
    if (under != screens.end())
        visible = under->visibleFrame;
    else if (mainScreen)
        visible = mainScreen->visibleFrame;
    // Written as min(max(…)) rather than clamp: a panel larger than the
    // visible frame keeps its right and top edges inside.
    const double x = std::min(std::max(visible.left(), pointer.x() + 4), visible.right() - size.width());
    // y-up: QRectF's bottom() is the top edge here.
    const double y =
        std::min(std::max(visible.top(), pointer.y() - size.height() - 4), visible.bottom() - size.height());
    return {QPointF(x, y), size};
}

double ListMenuLayout::scrollToShow(int index, double offset, double viewHeight)
{
    const QRectF row = rowFrame(index);
    if (row.top() < offset)
        return row.top();
    if (row.bottom() > offset + viewHeight)
        return row.bottom() - viewHeight;
    return offset;
}

} // namespace quillon
