#pragma once

#include "features/breaks/BreakOverlayLogic.h"
#include "input/TransientKeyTap.h"
#include "platform/MainQueue.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace quillon {

class Animator;
class BreakPanel;
class PillButton;

/// The break screen: one panel over every screen, each with a darkened
/// backdrop and a card with the prompt, the countdown and the Skip and Snooze
/// pills. It takes the keyboard while it shows (Esc twice skips) and reports
/// how the break ended, once.
class BreakOverlay {
public:
    struct Copy {
        QString title;
        QString body;
    };
    static const std::array<Copy, 4> prompts;

    static constexpr int level = 25;
    static constexpr double fadeInSeconds = 0.35;
    static constexpr double fadeOutSeconds = 0.3;
    static constexpr double cleanupSeconds = 0.6;

    BreakOverlay();
    ~BreakOverlay();
    BreakOverlay(const BreakOverlay&) = delete;
    BreakOverlay& operator=(const BreakOverlay&) = delete;

    /// Shows a break of `seconds`; Skip and Snooze work after `skipDelay`.
    /// Replaces a break that shows, without its outcome.
    void show(int seconds, const Copy& copy, double skipDelay, std::function<void(BreakOutcome)> onFinished);
    /// Takes the overlay down at once, without an outcome.
    void dismiss();

    /// One per screen while a break shows.
    std::vector<QWidget*> panels() const;
    /// The card's parts of each panel, for what is shown and pressed.
    std::vector<QString> countdownTexts() const;
    std::vector<PillButton*> skipButtons() const;
    std::vector<PillButton*> snoozeButtons() const;
    const TransientKeyTap& keyTap() const { return m_keyTap; }

private:
    void tick();
    void skipPressed();
    void snoozePressed();
    bool handleKey(const TransientKeyTap::KeyEvent& event);
    void finish(BreakOutcome outcome);
    void tearDown(bool animated);
    void fade(double from, double to, double seconds, std::function<void()> done);
    static double now();

    BreakOverlayLogic m_logic;
    std::vector<std::unique_ptr<BreakPanel>> m_panels;
    /// Panels fading out after a break.
    std::vector<std::unique_ptr<BreakPanel>> m_leaving;
    platform::WorkItem m_tickWork;
    platform::WorkItem m_cleanupWork;
    TransientKeyTap m_keyTap;
    std::unique_ptr<Animator> m_fade;
    std::shared_ptr<BreakOverlay*> m_self;
};

} // namespace quillon
