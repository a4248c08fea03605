#pragma once

#include <QRectF>
#include <QSizeF>
#include <optional>

namespace quillon {

/// Where the open shelf's parts go, as plain functions of its state. Frames
/// are y up: the panel's in the panel (origin bottom left), the body's
/// children in the body.
namespace ShelfLayout {

/// What decides the right-hand side.
struct SideState {
    bool externalDragActive = false;
    bool draggingOut = false;
    bool pendingConvert = false;
    /// Formats apply to the files being dragged.
    bool hasDragOptions = false;
    bool convertEnabled = true;
    /// The share service exists; without it the send zone takes no room.
    bool shareAvailable = false;
    /// The strip has a left column (Zip shows).
    bool stripHasLeftColumn = false;
};

/// One face of the right-hand side: the target alphas of its four views.
struct Face {
    bool zoneMode = false;
    bool convertShows = false;
    double strip = 1;
    double scroll = 1;
    double zone = 0;
    double convert = 0;
    bool operator==(const Face&) const = default;
};

Face faceOf(const SideState& state);
double stripWidth(bool hasLeftColumn);
/// The convert zone's share of the width.
double convertFraction(bool pendingConvert);
/// The send zone's width in a panel `width` wide.
double zoneWidth(double width, bool shareAvailable);
double rightSideWidth(double width, const SideState& state);

struct Input {
    QSizeF size;
    double notchHeight = 0;
    SideState side;
    /// The removal question shows, and its fitted size.
    bool captionVisible = false;
    QSizeF captionSize;
    /// The convert zone is not fully faded out.
    bool convertVisible = false;
    int cardCount = 0;
};

struct Frames {
    QRectF body, columnAccept, bodyFlash, scroll, strip, zone, convertZone, dropPlate, confirmCaption;
    /// The cards view's size.
    QSizeF cells;
};

Frames layout(const Input& input);

/// The cards' width for `count` cards, 0 for none.
double cardsWidth(int count);

/// The panel's frame (y up, global) for the notch rectangle `notch`: its top
/// edge is the notch's, it is centred on the notch and wide enough for the
/// cards (one to six), the strip and a bridge frame of positive width.
QRectF shelfFrame(const QRectF& notch, double extraDrop, int itemCount, int fileCount,
                  const std::optional<QRectF>& bridge = std::nullopt);

} // namespace ShelfLayout

/// Where a card and its parts go: flipped coordinates (y down) of the cards
/// view, index i counting from 0.
namespace CardGeometry {

constexpr double cellWidth = 62;
constexpr double cellSpacing = 18;
constexpr double leftInset = 16;
constexpr QSizeF cardSize{44, 54};
constexpr double labelHeight = 14;
constexpr double labelGap = 8;
constexpr double topInset = 7;

QRectF cell(int index);
QRectF card(int index);
QRectF label(int index);
/// Where the pointer counts as over card `index`: the cell grown, reaching 12
/// further up for the remove cross, clipped to `bounds`.
QRectF hit(int index, const QRectF& bounds);
QRectF removeCross(const QRectF& card);
QRectF bubble(const QRectF& card);
QRectF highlight(int index);

} // namespace CardGeometry

} // namespace quillon
