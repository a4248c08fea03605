#include "shelf/ShelfLayout.h"

#include <algorithm>

namespace quillon {

namespace ShelfLayout {

Face faceOf(const SideState& state)
{
    Face face;
    face.zoneMode = state.externalDragActive || state.draggingOut;
    face.convertShows =
        state.pendingConvert || (face.zoneMode && state.hasDragOptions && state.convertEnabled);
    face.strip = face.zoneMode || state.pendingConvert ? 0 : 1;
    face.scroll = face.zoneMode ? 0 : 1;
    face.zone = face.zoneMode && state.shareAvailable ? 1 : 0;
    face.convert = face.convertShows ? 1 : 0;
    return face;
}

double stripWidth(bool hasLeftColumn)
{
    return hasLeftColumn ? 76 : 44;
}

double convertFraction(bool pendingConvert)
{
    return pendingConvert ? 0.46 : 0.22;
}

double zoneWidth(double width, bool shareAvailable)
{
    return shareAvailable ? 0.3 * width : 0;
}

double rightSideWidth(double width, const SideState& state)
{
    const Face face = faceOf(state);
    if (state.pendingConvert && !face.zoneMode)
        return 0.46 * width;
    if (face.zoneMode) {
        double result = zoneWidth(width, state.shareAvailable);
        if (state.hasDragOptions && state.convertEnabled)
            result += convertFraction(state.pendingConvert) * width;
        return result;
    }
    return stripWidth(state.stripHasLeftColumn);
}

double cardsWidth(int count)
{
    return count > 0 ? count * 62 + 16 + (count - 1) * 18 + 16 : 0;
}

Frames layout(const Input& input)
{
    const double w = input.size.width(), h = input.size.height(), nh = input.notchHeight;
    const double c = input.captionVisible ? 20 : 0;
    const QRectF area(0, c, w, h - nh - c);
    const Face face = faceOf(input.side);
    const double right = rightSideWidth(w, input.side);
    const double strip = stripWidth(input.side.stripHasLeftColumn);
    const double y = area.bottom() - 7 - 76; // QRectF's bottom() is the larger y: the top here.
    const double f = convertFraction(input.side.pendingConvert);

    Frames frames;
    frames.body = QRectF(0, 0, w, h - nh);
    frames.columnAccept = QRectF(0, h - nh, w, nh);
    frames.bodyFlash = QRectF(0, c, w - right, area.height());
    frames.scroll = frames.bodyFlash;
    frames.strip = QRectF(w - strip, c, strip, area.height());
    const double zone = zoneWidth(w, input.side.shareAvailable);
    frames.zone = QRectF(w - 8 - zone, y, zone, 76);
    const double x = face.zoneMode ? frames.zone.left() : w;
    frames.convertZone = QRectF(x - 8 - f * w, y, f * w, 76);
    const double p = input.convertVisible ? frames.convertZone.left()
                     : face.zoneMode      ? frames.zone.left()
                                          : w - 8;
    frames.dropPlate = QRectF(8, y, std::max(0.0, p - 16), 76);
    const QSizeF caption = input.captionSize;
    frames.confirmCaption = QRectF(std::max((w - caption.width()) / 2, 8.0), (c - caption.height()) / 2,
                                   std::min(w - 16, caption.width()), caption.height());
    frames.cells = QSizeF(std::max(frames.scroll.width(), cardsWidth(input.cardCount)), area.height());
    return frames;
}

QRectF shelfFrame(const QRectF& notch, double extraDrop, int itemCount, int fileCount,
                  const std::optional<QRectF>& bridge)
{
    const int k = std::clamp(itemCount, 1, 6);
    const double side = fileCount > 1 ? 76 : 44;
    double width = std::max(notch.width() + 68, k * 62 + 32 + (k - 1) * 18 + side);
    const double centre = notch.center().x();
    if (bridge && bridge->width() > 0) {
        const double reach = std::max(std::abs(centre - bridge->left()), std::abs(bridge->right() - centre));
        width = std::max(width, 2 * (20 + reach));
    }
    const double height = notch.height() + 96 + extraDrop;
    // y up: the notch's top edge is its larger y.
    return QRectF(centre - width / 2, notch.bottom() - height, width, height);
}

} // namespace ShelfLayout

namespace CardGeometry {

QRectF cell(int index)
{
    return QRectF(leftInset + (cellWidth + cellSpacing) * index, topInset, cellWidth,
                  cardSize.height() + labelGap + labelHeight);
}

QRectF card(int index)
{
    const QRectF c = cell(index);
    return QRectF(c.center().x() - cardSize.width() / 2, topInset, cardSize.width(), cardSize.height());
}

QRectF label(int index)
{
    return QRectF(cell(index).left(), card(index).bottom() + labelGap, cellWidth, labelHeight);
}

QRectF hit(int index, const QRectF& bounds)
{
    return cell(index).adjusted(-4, -2 - 12, 4, 2).intersected(bounds);
}

QRectF removeCross(const QRectF& card)
{
    return QRectF(card.right() - 10, card.top() - 6, 16, 16);
}

QRectF bubble(const QRectF& card)
{
    return QRectF(card.right() - 14, card.top() - 7, 21, 21);
}

QRectF highlight(int index)
{
    return cell(index).adjusted(-1, -2, 1, 2);
}

} // namespace CardGeometry

} // namespace quillon
