#pragma once

#include "notch/NotchShape.h"
#include "platform/Pasteboard.h"
#include "shelf/ShelfConvert.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfStore.h"
#include "support/Animation.h"
#include "support/Animator.h"

#include <QPointer>
#include <QSet>
#include <QWidget>
#include <functional>
#include <optional>

class QLabel;
class QScrollArea;
class QGraphicsOpacityEffect;

namespace quillon {

class ActionStrip;
class AirDropZoneView;
class CellsView;
class ConvertZoneView;
class DropPlateView;
class DropRegionView;

/// The open shelf: the black panel that grows out of the notch with the
/// items' cards, the action strip and, while files are dragged, the drop
/// zones. It owns no data: it shows the items it is given and reports what
/// the person does through its callbacks.
class ShelfView final : public QWidget {
public:
    /// The strip's actions, named for the keys that click them.
    enum class StripAction { AirDrop, Copy, Zip };

    ShelfView(const QList<ShelfItem>& items, const QSizeF& size, double notchWidth, double notchHeight,
              QWidget* parent = nullptr);
    ~ShelfView() override;

    std::function<void(const QList<QUrl>&)> onAdd;
    std::function<void(const QSet<QUuid>&)> onRemove;
    std::function<void(const QList<QUrl>&)> onAirDrop;
    std::function<void(const QSet<QUuid>&)> onDragOutAccepted;
    std::function<void()> onSizeChanged;
    std::function<void(const QList<QUrl>&, ShelfConvert::Format)> onConvert;
    std::function<void(const QSet<QUuid>&, int)> onCutStaged;
    std::function<void()> onMouseEntered;
    std::function<void()> onMouseExited;
    std::function<void()> onDragHover;

    /// Opens: the outline springs from the shape on screen (the notch, the
    /// first time) to the panel, and the body fades in.
    void animateIn();
    /// Closes into the notch; `completion` runs once that is over. Opening
    /// again first drops it.
    void animateOut(std::function<void()> completion);
    void setSize(const QSizeF& size);
    void update(const QList<ShelfItem>& items);
    void updateRightSide();
    void layoutBody();
    double rightSideWidth() const;
    /// Whether a share service can send files: lays out the send button and zone.
    void setShareAvailable(bool available);
    /// The pointer came in or left: leaving drops the hover marks and a
    /// waiting removal question, and is reported unless a drag-out, a drop,
    /// the context menu or a rubber band holds the pointer.
    void pointerEntered();
    void pointerExited();

    /// A drag over the panel at `p` (body coordinates): highlights what it
    /// is over and answers what a drop there would do.
    Qt::DropAction dropUpdated(const QPointF& p, bool internal);
    /// Files dropped at `p`: to the convert zone (formats to choose), to the
    /// send zone, or added; the panel's own cards are refused elsewhere.
    bool handleDrop(const QList<QUrl>& urls, const QPointF& p, bool internal);
    bool dropSessionActive = false;
    bool lastDragOverZone = false;
    bool lastDragOverConvert = false;

    /// Ctrl+C, Ctrl+X and the strip's Copy: puts the target items' files on
    /// the clipboard (marked as cut for file managers when `cut`), and reports
    /// the cut set with the clipboard's change count.
    void copyToPasteboard(bool cut);
    /// Space: shows the target items' files in the preview window, or closes
    /// it when it shows. The files shown are fixed when it opens.
    void toggleQuickLook();
    QList<QUrl> quickLookURLs;
    /// Delete and the strip's Remove: removes the target items, asking once
    /// more first when they hold two or more files.
    void removeSelectionRequested();
    void requestRemoval(const QSet<QUuid>& ids);
    void disarmRemoval();
    /// The pointer moved over the panel onto `hit` (the deepest child under
    /// it, or none): hover marks on the strip and the cards, and the pointing
    /// hand over a button or a remove cross, else the arrow. The cursor is set
    /// again at most every 0.05 s while it stays over the same view.
    void applyPointerFeedback(QWidget* hit);
    QPointer<QWidget> lastCursorHit;
    double lastCursorAssert = -1e9;

    /// Clicks a strip button when it shows; false when it is hidden.
    bool clickStrip(StripAction action);

    bool externalDragActive = false;
    bool convertEnabled = true;
    QList<ShelfConvert::Format> dragConvertOptions;
    std::optional<QList<QUrl>> pendingConvertURLs;
    std::optional<QSet<QUuid>> pendingRemoval;

    bool zoneModeActive() const { return m_zoneModeActive; }
    CellsView& cells() const { return *m_cells; }
    ActionStrip& strip() const { return *m_strip; }
    AirDropZoneView& zone() const { return *m_zone; }
    ConvertZoneView& convertZone() const { return *m_convertZone; }
    DropPlateView& dropPlate() const { return *m_dropPlate; }
    QLabel& confirmCaption() const { return *m_confirmCaption; }
    QScrollArea& scroll() const { return *m_scroll; }
    QWidget& body() const;
    QWidget& bodyFlash() const { return *m_bodyFlash; }

    /// The outline on screen now (y up, in the view).
    NotchShape currentShape() const;
    /// The full panel and the notch, as outlines.
    NotchShape openShape() const;
    NotchShape notchShape() const;
    /// The body's alpha on screen now.
    double bodyAlpha() const;
    /// The alpha each faded view is going to (its model value).
    struct Alphas {
        double strip, scroll, zone, convert;
    };
    Alphas targetAlphas() const;
    /// How many times `layoutBody` ran.
    int layoutCount() const { return m_layoutCount; }

    /// Without a compositor the body's fades are immediate and the window
    /// takes the outline as its shape: `onShapeChanged` reports it (widget
    /// coordinates) whenever it changes.
    void setOpaqueWindow(bool opaque);
    std::function<void(const QPainterPath&)> onShapeChanged;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Fade {
        QWidget* view;
        QGraphicsOpacityEffect* effect;
        AnimatedValue alpha;
    };
    void frameTick();
    void applyOpacities(double now);
    void fadeTo(Fade& fade, double target, double now);
    QList<QUrl> allURLs() const;
    void endDropSession();
    /// Connects the children's callbacks to the panel's actions.
    void wireSubviews();
    /// After a drag-out or the context menu: the exit that was held back is
    /// reported on the next turn when the pointer is outside by then.
    void reportExitIfOutside();
    /// The pointer in this view's coordinates; none without a window.
    std::optional<QPointF> pointerInView() const;

    QSizeF m_size;
    double m_notchWidth;
    double m_notchHeight;
    DropRegionView* m_body;
    DropRegionView* m_columnAccept;
    QScrollArea* m_scroll;
    CellsView* m_cells;
    ActionStrip* m_strip;
    AirDropZoneView* m_zone;
    ConvertZoneView* m_convertZone;
    QWidget* m_bodyFlash;
    DropPlateView* m_dropPlate;
    QLabel* m_confirmCaption;

    bool m_zoneModeActive = false;
    bool m_shareAvailable = false;
    bool m_opaqueWindow = false;

    // The outline: from one shape to another along a curve, or resting.
    NotchShape m_shapeFrom;
    NotchShape m_shapeTo;
    double m_shapeBegin = 0;
    double m_shapeDuration = 0;
    TimingCurve m_shapeCurve = TimingCurve::linear();
    bool m_shapeAnimated = false;
    std::optional<QPainterPath> m_reportedShape;

    AnimatedValue m_bodyAlpha;
    Fade m_stripFade{}, m_scrollFade{}, m_zoneFade{}, m_convertFade{};
    Animator m_animator;
    std::optional<int> m_closeToken;
    int m_layoutCount = 0;
    platform::WorkItem m_pendingRemovalWork;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
