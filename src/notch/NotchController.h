#pragma once

#include "notch/NotchContent.h"
#include "notch/NotchSource.h"
#include "notch/NotchSurface.h"
#include "platform/MainQueue.h"

#include <functional>
#include <memory>
#include <optional>

namespace quillon {

class NotchBarView;

/// Turns contents into bars at the notch and keeps their lifetimes. The chip
/// slot holds a timed chip (gone after its duration) or a live chip (updated
/// in place, gone when dismissed); the hint slot holds a row of key hints
/// while a leader key is held. Hints win over chips: a timed chip that comes
/// while hints are up waits and opens when they close.
///
/// The controller tells which of its sources it wants through `onSource` and
/// asks `canPresent` before it builds anything.
class NotchController {
public:
    /// The strip below the notch that every bar hangs into.
    static constexpr double drop = 14;

    /// Where a bar goes for a notch (both y up): its notch-shaped middle over
    /// the notch, the caption strip below it.
    static QRectF frameAt(const NotchBarView& bar, const QRectF& notch);

    explicit NotchController(std::shared_ptr<NotchSurface> surface);
    ~NotchController();
    NotchController(const NotchController&) = delete;
    NotchController& operator=(const NotchController&) = delete;

    /// Shows a timed chip, or parks it while hints are up. Without animation
    /// the chip stays until something replaces or dismisses it.
    void showChip(const NotchContent& content, double duration, bool animated);
    /// Shows the live chip, or updates it in place without animation.
    void showLiveChip(const NotchContent& content);
    /// Ends whatever the chip slot holds, with the closing animation.
    void dismissChip();
    /// Shows a hint row, clearing the chip slot.
    void showHints(const NotchContent& content, bool animated);
    /// Hides the hint row; an animated drop then opens a parked chip.
    void dropHints(bool animated, bool keepingClaim);
    /// Removes everything at once and releases every claim.
    void teardown();
    /// Moves what is on screen to the notch of the displays as they are now;
    /// with no notch left, removes it.
    void displaysChanged();

    /// Claims (true) or releases (false) a source of the stage.
    std::function<void(NotchSource, bool)> onSource;
    /// Asked before any new bar is made.
    std::function<bool()> canPresent = [] { return true; };

    NotchSurface& surface() const { return *m_surface; }
    const std::shared_ptr<NotchMount>& chipMount() const { return m_chipMount; }
    /// The mounted hint row; the application pulses its bar when a hinted key
    /// is pressed.
    const std::shared_ptr<NotchMount>& hintMount() const { return m_hintMount; }
    bool liveChipActive() const { return m_liveChipActive; }
    std::optional<NotchSource> chipSource() const { return m_chipSource; }
    bool hintsActive() const { return m_hintsActive; }
    bool hasPendingChip() const { return m_pendingChip.has_value(); }

private:
    struct PendingChip {
        NotchContent content;
        double duration;
    };
    struct Bridge {
        NotchBarView* bar;
        std::shared_ptr<NotchMount> mount;
    };

    std::optional<Bridge> makeBridge(const NotchContent& content);
    void setChipSource(std::optional<NotchSource> source);
    void releaseChipSource();
    void clearChipMount();
    void tell(NotchSource source, bool claimed);

    std::shared_ptr<NotchSurface> m_surface;
    std::shared_ptr<NotchMount> m_chipMount;
    platform::WorkItem m_chipDismiss;
    bool m_liveChipActive = false;
    std::optional<PendingChip> m_pendingChip;
    std::shared_ptr<NotchMount> m_hintMount;
    std::optional<NotchSource> m_chipSource;
    bool m_hintsActive = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
