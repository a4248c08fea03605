#pragma once

#include "platform/Observers.h"
#include "platform/Pointer.h"
#include "platform/linux/XInput.h"

#include <memory>

namespace quillon::platform::linux_ {

/// The pointer, from XInput 2 raw button and motion events on the root of a
/// connection of our own. Button events are selected only while a monitor is
/// installed, motion only while a left-button drag is under way or a move
/// monitor is installed.
class X11Pointer final : public Pointer {
public:
    X11Pointer() = default;
    ~X11Pointer() override;

    QPointF location() const override;
    std::optional<int> addMouseDownMonitor(std::function<void(const MouseDown&)> handler) override;
    void removeMouseDownMonitor(int token) override;
    std::optional<int> addDragMonitor(std::function<void(DragPhase)> handler) override;
    void removeDragMonitor(int token) override;
    std::optional<int> addScrollMonitor(std::function<void(int button)> handler) override;
    void removeScrollMonitor(int token) override;
    std::optional<int> addMoveMonitor(std::function<void()> handler) override;
    void removeMoveMonitor(int token) override;

private:
    bool connect();
    void handle(const xcb_generic_event_t* event);
    void pressed(int button);
    void released(int button);
    /// Raw events carry the physical button; what the person pressed is the
    /// one their button map makes of it (a left-handed mouse swaps 1 and 3).
    int logicalButton(uint16_t device, uint32_t physical);
    /// Which of this process's top-level windows the pointer is over, asked
    /// of the server, which knows the stacking.
    enum class Under {
        /// None of ours.
        elsewhere,
        /// An ordinary window of ours, such as the settings window.
        ownWindow,
        /// One of our overlays or a pop-up (a menu, a picker).
        overlay,
    };
    Under windowUnderPointer();
    void updateSelection();
    /// Tells the drag and move monitors of the motion read so far, once.
    void flushMotion();

    std::unique_ptr<XInput> m_xi;
    uint32_t m_selected = 0;
    Observers<const MouseDown&> m_downs;
    Observers<DragPhase> m_drags;
    Observers<int> m_scrolls;
    Observers<> m_moves;
    /// Motion has arrived and its monitors are yet to hear of it.
    bool m_motionQueued = false;
    bool m_leftDown = false;
    /// The left button went down outside our overlays and pop-ups: its motion
    /// is a drag the monitors report. A drag out of an ordinary window of
    /// ours counts, so a file pulled from the settings window reaches the
    /// shelf like any other.
    bool m_dragOutside = false;
    bool m_dragReported = false;
};

} // namespace quillon::platform::linux_
