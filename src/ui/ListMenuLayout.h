#pragma once

#include "platform/Displays.h"

#include <QPointF>
#include <QRectF>
#include <optional>
#include <vector>

namespace quillon {

/// The geometry of the floating list menu, top-down in the panel, and its
/// placement at the pointer in the y-up global space.
class ListMenuLayout {
public:
    ListMenuLayout() = delete;

    static constexpr double panelWidth = 340;
    static constexpr double rowWidth = 328;
    static constexpr double rowHeight = 34;
    static constexpr double footerHeight = 30;

    /// V: the height of the visible rows.
    static double visibleHeight(int visibleRows, int itemCount);
    static QSizeF panelSize(int visibleRows, int itemCount);
    static QRectF headerFrame();
    static QRectF rowsFrame(int visibleRows, int itemCount);
    static QRectF footerFrame(int visibleRows, int itemCount);
    /// The scrolling container of the rows.
    static double containerHeight(int visibleRows, int itemCount);
    static QRectF rowFrame(int index);
    /// Top of the empty text, centred in the visible rows.
    static double emptyLabelTop(int visibleRows, double labelHeight);

    struct RowText {
        QRectF title;
        QRectF detail;
    };
    /// Title and detail frames inside a row, given the title's fitted width;
    /// with a detail the title takes at most half of the shared width.
    static RowText rowText(double fittedTitleWidth, bool hasDetail);
    static QRectF digitFrame();
    static QRectF glyphFrame();

    /// The panel frame in the y-up global space: 4 right of and below the
    /// pointer, pushed back inside the visible frame of the pointer's screen
    /// (else the main screen, else 1470 × 900 at the origin).
    static QRectF placement(const QPointF& pointer, const QSizeF& size,
                            const std::vector<platform::Screen>& screens,
                            const std::optional<platform::Screen>& mainScreen);
    /// The scroll offset that shows the row fully, moving least from
    /// `offset`; `viewHeight` is V.
    static double scrollToShow(int index, double offset, double viewHeight);
};

} // namespace quillon
