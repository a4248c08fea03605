#pragma once

#include "input/DragWatcher.h"
#include "input/TransientKeyTap.h"
#include "notch/NotchBarView.h"
#include "notch/NotchGeometry.h"
#include "notch/NotchSource.h"
#include "platform/MainQueue.h"
#include "shelf/ShelfCatcher.h"
#include "shelf/ShelfConvert.h"
#include "shelf/ShelfKeys.h"
#include "shelf/ShelfStore.h"
#include "shelf/ShelfView.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QRectF>
#include <QSet>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class NotchStage;

/// The shelf at the notch: a cue chip while files are dragged, a chip with
/// the count while it holds files, and the open shelf, which springs out of
/// the notch when a file drag comes near and closes when it goes away.
///
/// Three panels: the drop target over a physical notch (none on a screen
/// without one), the chip panel at level 26 and the shelf panel at level 27.
/// Frames are y up. Everything runs on the main thread; work that monitors,
/// catchers and drags start is posted to the main queue.
class ShelfController {
public:
    ShelfController(ShelfStore& store, DragWatcher& drags, NotchStage& stage);
    ~ShelfController();
    ShelfController(const ShelfController&) = delete;
    ShelfController& operator=(const ShelfController&) = delete;

    /// While set (a break overlay covers the screen), the shelf does not open.
    bool suppressed = false;
    /// Formats offered while dragging and in the shelf.
    bool convertEnabled = true;
    /// Items leave the shelf 3 s after a drag-out that was taken.
    bool removeOnDragOut = false;
    bool hapticsEnabled = true;

    /// Switches on (loads the store, watches drags, shows the chip) or off
    /// (lets go of every panel, claim, tap and monitor).
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }

    /// Opens the shelf.
    void expand();
    /// Closes the open shelf (animated).
    void collapse();
    /// The shelf chord: adds the files copied in the file manager, or opens
    /// or closes the shelf. False when there was nothing to show: the shelf
    /// is closed and empty.
    bool hotkeyInvoked();
    /// When the chord's answer had to wait for the clipboard and turned out
    /// to be "nothing to show".
    std::function<void()> onNothingToShow;
    /// Puts files on the shelf from outside (screenshots, a settings export)
    /// without opening it; only while switched on.
    void add(const QList<QUrl>& urls);

    /// The drag watcher's handler.
    void handleDrag(DragWatcher::Event event);

    /// The source the shelf wants shown in the notch.
    std::optional<NotchSource> wantedNotchSource() const;
    /// The open panel's frame for this notch.
    QRectF shelfFrame(const QRectF& notch, double extraDrop) const;

    // What is on screen, for the tests and the delegate.
    ShelfStore& store() { return m_store; }
    bool isOpen() const { return m_shelfView != nullptr; }
    bool isCollapsing() const { return m_isCollapsing; }
    bool cueShowing() const { return m_cueShowing; }
    bool chipYielding() const { return m_chipYielding; }
    bool fileDragActive() const { return m_fileDragActive; }
    ShelfView* view() const { return m_shelfView; }
    ShelfCatcher* chipPanel() const { return m_chipPanel; }
    NotchBarView* chipBar() const { return m_chipBar; }
    ShelfCatcher* dropTarget() const { return m_targetPanel; }
    QRectF shelfPanelFrame() const { return m_shelfFrame; }
    QRectF chipFrame() const { return m_chipFrame; }
    QRectF dropTargetFrame() const { return m_targetFrame; }
    const QSet<QUuid>& cutItemIDs() const { return m_cutItemIDs; }
    bool keysArmed() const { return m_letterKeys.isArmed(); }
    bool pasteWatched() const { return m_pasteMonitor.has_value(); }
    /// The key table's view of the shelf now.
    ShelfKeys::State keyState() const;

    static constexpr double reach = 44;
    static constexpr double leaveMargin = 20;
    static constexpr double gapExitDelay = 0.08;
    static constexpr double hapticInterval = 0.3;
    static constexpr double removalDelay = 3.0;
    static constexpr double pulseDelay = 0.35;

private:
    template <typename F> void post(F fn);
    template <typename F> platform::WorkItem after(double seconds, F fn);
    /// `fn` as a callback that does nothing once the controller is gone: the
    /// panels it is handed to are deleted later than it.
    template <typename F> auto guarded(F fn);

    bool handleKey(const TransientKeyTap::KeyEvent& event);
    void perform(ShelfKeys::Action action);
    void armKeys();
    void disarmKeys();

    void openIfPointerIsNear();
    void closeIfDragWentAway();
    /// A drag-out of the cards runs or ended less than 0.3 s ago.
    bool ownDragOutBusy() const;
    void showCue();
    void drawChip();
    void retractChip();
    void syncNotchClaim();
    void setNotchYielded(bool yielded);
    void presentBridge(const NotchContent& content, double drop, const QRectF& notch, bool outline);
    void makeChipPanel();
    void buildDropTarget();
    void dropDropTarget();
    void setDropTargetFrame(const QRectF& frame);
    void teardownShelf();
    void teardownChip();
    void haptic();
    void columnHover(bool hovering);
    void installMoveMonitor();
    void removeMoveMonitor();
    void installOutsideClickMonitor();
    void removeOutsideClickMonitor();
    void pointerMoved();
    void pointerReturned();
    void pointerExited();
    void screenChanged();
    void storeChanged();
    void wireView(ShelfView& view);
    void resize();
    void convert(const QList<QUrl>& urls, ShelfConvert::Format format);
    void dragOutAccepted(const QSet<QUuid>& ids);
    void viewAdded(const QList<QUrl>& urls);
    void cutStaged(const QSet<QUuid>& ids, int changeCount);
    void pastePerformed();
    void removeMovedAway(const QSet<QUuid>& ids);
    void cancelCut();
    void removePasteMonitor();
    /// The rest of the chord once the selection is known.
    bool selectionArrived(const QList<QUrl>& urls);
    int totalFiles() const;
    void pulseLater(const QSet<QUuid>& ids);

    ShelfStore& m_store;
    DragWatcher& m_drags;
    NotchStage& m_stage;

    QPointer<ShelfCatcher> m_targetPanel;
    QPointer<ShelfView> m_shelfView;
    QPointer<ShelfCatcher> m_chipPanel;
    QPointer<NotchBarView> m_chipBar;
    bool m_chipTranslucent = true;
    QRectF m_targetFrame;
    QRectF m_shelfFrame;
    QRectF m_chipFrame;
    /// What the chip shows now, so an unchanged chip is not drawn again.
    struct Presented {
        NotchSource source;
        int files;
        bool operator==(const Presented&) const = default;
    };
    std::optional<Presented> m_presented;

    bool m_cueShowing = false;
    std::optional<int> m_displaysToken;
    QMetaObject::Connection m_notchConnection;
    /// Letters, Space, Backspace and Escape alone or with Shift; A, C and X
    /// with Ctrl. Nothing else is taken from the focused window.
    TransientKeyTap m_letterKeys;
    TransientKeyTap m_commandKeys;
    bool m_enabled = false;
    QList<ShelfConvert::Format> m_currentDragConvertOptions;
    int m_lastDragChange = 0;
    QRectF m_lastBridgeFrame;
    bool m_fileDragActive = false;
    bool m_openedForThisDrag = false;
    bool m_isCollapsing = false;
    bool m_chipYielding = false;
    QSet<QUuid> m_cutItemIDs;
    int m_cutChangeCount = 0;
    std::optional<int> m_pasteMonitor;
    platform::WorkItem m_collapseWork;
    std::optional<int> m_outsideClickMonitor;
    std::optional<int> m_moveMonitor;
    std::optional<int> m_shareToken;
    bool m_awaitingGapExit = false;
    double m_lastHaptic = -1e9;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
