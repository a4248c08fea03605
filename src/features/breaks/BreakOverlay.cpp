#include "features/breaks/BreakOverlay.h"

#include "features/breaks/BreakBackdrop.h"
#include "features/breaks/BreakPanel.h"
#include "platform/Platform.h"
#include "support/Animator.h"
#include "support/Log.h"

#include <cmath>

namespace quillon {

const std::array<BreakOverlay::Copy, 4> BreakOverlay::prompts{{
    {QStringLiteral("Unclench, blink, breathe"),
     QStringLiteral("Blink slowly a few times while looking away from the screen")},
    {QStringLiteral("Look 20 feet away"),
     QStringLiteral("Find something across the room and let your eyes settle on it")},
    {QStringLiteral("Roll your shoulders"),
     QStringLiteral("Let your arms hang and roll your shoulders back, slowly")},
    {QStringLiteral("Loosen your jaw"),
     QStringLiteral("Unclench, drop your shoulders, take one slow breath")},
}};

namespace {

platform::KeyGrab wholeKeyboard()
{
    platform::KeyGrab grab;
    grab.everyKey = true;
    grab.wholeKeyboard = true;
    return grab;
}

} // namespace

BreakOverlay::BreakOverlay()
    : m_keyTap(true, true, TransientKeyTap::scrollWheelMask, wholeKeyboard())
    , m_self(std::make_shared<BreakOverlay*>(this))
{
    m_keyTap.onKey = [this](const TransientKeyTap::KeyEvent& event) { return handleKey(event); };
}

BreakOverlay::~BreakOverlay()
{
    dismiss();
    m_cleanupWork.cancel();
    m_fade.reset();
    m_leaving.clear();
    *m_self = nullptr;
}

double BreakOverlay::now()
{
    return platform::platform().clock().uptime();
}

void BreakOverlay::show(int seconds, const Copy& copy, double skipDelay,
                        std::function<void(BreakOutcome)> onFinished)
{
    dismiss();
    m_logic.start(now(), seconds, skipDelay, std::move(onFinished));
    auto& p = platform::platform();
    auto& windows = p.overlayWindows();
    platform::OverlayStyle style;
    style.level = level;
    style.clickThrough = false;
    const bool translucent = windows.translucent();
    const auto screens = p.displays().screens();
    // Every screen is captured before any panel maps, so no panel shows
    // in another's backdrop.
    std::vector<QImage> backdrops;
    for (const platform::Screen& screen : screens) {
        const QSize pixels(qRound(screen.frame.width() * screen.scale),
                           qRound(screen.frame.height() * screen.scale));
        backdrops.push_back(BreakBackdrop::make(p.screenCapture().capture(screen), pixels));
    }
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const platform::Screen& screen = screens[i];
        auto panel = std::make_unique<BreakPanel>(copy.title, copy.body, backdrops[i]);
        windows.prepare(*panel, style);
        windows.setFrame(*panel, screen.frame);
        BreakCard* card = panel->card();
        QObject::connect(card->skip(), &QAbstractButton::clicked, [this] { skipPressed(); });
        QObject::connect(card->snooze(), &QAbstractButton::clicked, [this] { snoozePressed(); });
        if (translucent)
            panel->setWindowOpacity(0.0);
        windows.show(*panel);
        m_panels.push_back(std::move(panel));
    }
    if (translucent && !m_panels.empty())
        fade(0.0, 1.0, fadeInSeconds, nullptr);
    Log::debug([&] {
        return QStringLiteral("Breaks: screen up on %1 display(s) for %2s").arg(m_panels.size()).arg(seconds);
    });
    if (m_panels.empty()) {
        m_keyTap.disarm();
        finish(BreakOutcome::completed);
        return;
    }
    m_keyTap.arm();
    tick();
}

void BreakOverlay::dismiss()
{
    m_tickWork.cancel();
    m_keyTap.disarm();
    m_logic.dismiss();
    if (!m_panels.empty())
        Log::debug("Breaks: screen dismissed");
    tearDown(false);
}

std::vector<QWidget*> BreakOverlay::panels() const
{
    std::vector<QWidget*> list;
    for (const auto& panel : m_panels)
        list.push_back(panel.get());
    return list;
}

std::vector<QString> BreakOverlay::countdownTexts() const
{
    std::vector<QString> texts;
    for (const auto& panel : m_panels)
        texts.push_back(panel->card()->countdown());
    return texts;
}

std::vector<PillButton*> BreakOverlay::skipButtons() const
{
    std::vector<PillButton*> buttons;
    for (const auto& panel : m_panels)
        buttons.push_back(panel->card()->skip());
    return buttons;
}

std::vector<PillButton*> BreakOverlay::snoozeButtons() const
{
    std::vector<PillButton*> buttons;
    for (const auto& panel : m_panels)
        buttons.push_back(panel->card()->snooze());
    return buttons;
}

void BreakOverlay::tick()
{
    const auto face = m_logic.tick(now());
    if (!face) {
        finish(BreakOutcome::completed);
        return;
    }
    for (const auto& panel : m_panels) {
        BreakCard* card = panel->card();
        card->setCountdown(face->countdown);
        card->skip()->setTitle(face->skipTitle);
        for (PillButton* pill : {card->skip(), card->snooze()}) {
            pill->setEnabled(face->usable);
            pill->setAlpha(face->pillAlpha);
        }
    }
    std::weak_ptr<BreakOverlay*> weak = m_self;
    m_tickWork = platform::platform().mainQueue().after(1.0, [weak] {
        if (const auto self = weak.lock(); self && *self)
            (*self)->tick();
    });
}

void BreakOverlay::skipPressed()
{
    finish(m_logic.skipOutcome(now()));
}

void BreakOverlay::snoozePressed()
{
    finish(BreakOutcome::snoozed);
}

// On the main thread like every key handler: its answer decides only what
// the overlay does; the keys go nowhere whatever it says.
bool BreakOverlay::handleKey(const TransientKeyTap::KeyEvent& event)
{
    std::weak_ptr<BreakOverlay*> weak = m_self;
    switch (BreakOverlayLogic::classify(event.code, event.flags, event.isKeyUp)) {
    case BreakOverlayLogic::KeyAction::release:
        platform::platform().mainQueue().post([weak] {
            if (const auto self = weak.lock(); self && *self)
                (*self)->m_keyTap.disarm();
        });
        return false;
    case BreakOverlayLogic::KeyAction::escape:
        platform::platform().mainQueue().post([weak] {
            const auto self = weak.lock();
            if (self && *self && (*self)->m_logic.isShowing() && (*self)->m_logic.escapePressed(now()))
                (*self)->finish(BreakOutcome::skipped);
        });
        return true;
    case BreakOverlayLogic::KeyAction::swallow:
        break;
    }
    return true;
}

void BreakOverlay::finish(BreakOutcome outcome)
{
    m_tickWork.cancel();
    m_keyTap.disarm();
    const auto done = m_logic.finish();
    Log::debug([&] {
        return QStringLiteral("Breaks: screen down after %1s — %2")
            .arg(qint64(std::floor(now() - m_logic.shownAt())))
            .arg(rawValue(outcome));
    });
    tearDown(platform::platform().overlayWindows().translucent());
    if (done)
        done(outcome);
}

// With a fade, the panels leave once it ends; a clean-up pass 0.6 s later
// takes them down in case the fade never finished.
void BreakOverlay::tearDown(bool animated)
{
    auto& windows = platform::platform().overlayWindows();
    if (!animated) {
        m_fade.reset();
        for (auto& panel : m_panels)
            windows.hide(*panel);
        m_panels.clear();
        for (auto& panel : m_leaving)
            windows.hide(*panel);
        m_leaving.clear();
        return;
    }
    for (auto& panel : m_panels)
        m_leaving.push_back(std::move(panel));
    m_panels.clear();
    const auto cleanUp = [this] {
        auto& overlays = platform::platform().overlayWindows();
        for (auto& panel : m_leaving)
            overlays.hide(*panel);
        m_leaving.clear();
    };
    fade(1.0, 0.0, fadeOutSeconds, cleanUp);
    std::weak_ptr<BreakOverlay*> weak = m_self;
    m_cleanupWork.cancel();
    m_cleanupWork = platform::platform().mainQueue().after(cleanupSeconds, [weak] {
        const auto self = weak.lock();
        if (!self || !*self)
            return;
        auto& overlays = platform::platform().overlayWindows();
        for (auto& panel : (*self)->m_leaving)
            overlays.hide(*panel);
        (*self)->m_leaving.clear();
    });
}

// Window opacity, stepped on the animator's frames; only with a compositor.
void BreakOverlay::fade(double from, double to, double seconds, std::function<void()> done)
{
    const double start = Animator::now();
    const bool out = to < from;
    m_fade = std::make_unique<Animator>([this, start, from, to, seconds, out] {
        const double t = std::clamp((Animator::now() - start) / seconds, 0.0, 1.0);
        for (const auto& panel : out ? m_leaving : m_panels)
            panel->setWindowOpacity(from + (to - from) * t);
    });
    m_fade->runUntil(start + seconds);
    if (done)
        m_fade->at(start + seconds, std::move(done));
}

} // namespace quillon
