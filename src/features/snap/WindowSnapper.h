#pragma once

#include "features/snap/AXWindow.h"
#include "features/snap/SnapPosition.h"
#include "platform/Displays.h"

#include <QRectF>
#include <deque>
#include <map>
#include <memory>
#include <optional>

namespace quillon {

/// Carries out snaps on the focused window of an application: placements
/// with half-two-thirds-third cycling, restore of the frame from before a
/// series of snaps, and moves to the next or previous screen. Windows are
/// keyed by their X window id.
///
/// A move completes when the window manager answers, so snaps run one at a
/// time: one asked for meanwhile waits its turn and sees the read-back of
/// the one before.
class WindowSnapper {
public:
    using Key = platform::WindowId;

    WindowSnapper();
    ~WindowSnapper();
    WindowSnapper(const WindowSnapper&) = delete;
    WindowSnapper& operator=(const WindowSnapper&) = delete;

    /// Snaps the focused window of `pid` (or of the frontmost application).
    void snap(SnapPosition position, std::optional<int32_t> pid = std::nullopt);
    /// Forgets every window (the feature was switched off).
    void clear();

    const std::map<Key, QRectF>& restoreFrames() const { return m_restoreFrames; }
    const std::map<Key, QRectF>& lastSetFrames() const { return m_lastSetFrames; }
    const std::map<Key, SnapPosition>& lastApplied() const { return m_lastApplied; }
    /// A snap is waiting for the window manager.
    bool isBusy() const { return m_busy; }

    /// The screen of a y-up rectangle: the first holding its centre, else the
    /// one it overlaps most (the first on a tie or with no overlap); with no
    /// screen list the main screen.
    static std::optional<platform::Screen> screen(const QRectF& rect);
    static bool approxEqual(const QRectF& a, const QRectF& b, double tolerance);

private:
    struct Request {
        SnapPosition position;
        std::optional<int32_t> pid;
    };

    void runNext();
    /// True when the snap went on asynchronously (runNext follows its end).
    bool perform(const Request& request);
    bool restore(const AXWindow& window);
    bool applyDisplayMove(SnapPosition position, const AXWindow& window, const QRectF& current);
    SnapPosition cycled(SnapPosition position, Key key, const QRectF& current) const;
    void rememberRestore(Key key, const QRectF& current);
    void watch(const AXWindow& window);
    void forget(Key key);
    void finished();

    std::map<Key, QRectF> m_restoreFrames;
    std::map<Key, QRectF> m_lastSetFrames;
    std::map<Key, SnapPosition> m_lastApplied;
    /// The observer of each stored window's destruction.
    std::map<Key, int> m_watches;
    std::deque<Request> m_queue;
    bool m_busy = false;
    bool m_performing = false;
    std::shared_ptr<WindowSnapper*> m_self;
};

} // namespace quillon
