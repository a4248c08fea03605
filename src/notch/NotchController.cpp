#include "notch/NotchController.h"

#include "notch/NotchBarView.h"
#include "platform/Platform.h"

namespace quillon {

// The bar's notch-shaped middle lies over the notch; the caption strip hangs
// below it.
QRectF NotchController::frameAt(const NotchBarView& bar, const QRectF& notch)
{
    return QRectF(notch.x() - (bar.captionLeftOverhang() + NotchBarLayout::margin + bar.leftContentWidth()),
                  notch.y() - NotchController::drop, bar.barSize().width(),
                  notch.height() + NotchController::drop);
}

NotchController::NotchController(std::shared_ptr<NotchSurface> surface)
    : m_surface(std::move(surface))
{
}

NotchController::~NotchController()
{
    *m_alive = false;
    m_chipDismiss.cancel();
}

std::optional<NotchController::Bridge> NotchController::makeBridge(const NotchContent& content)
{
    if (canPresent && !canPresent())
        return std::nullopt;
    if (content.isEmpty())
        return std::nullopt;
    const auto notch = m_surface->notchRect();
    if (!notch)
        return std::nullopt;
    auto* bar = new NotchBarView(content, notch->size(), drop);
    return Bridge{bar, m_surface->mount(bar, frameAt(*bar, *notch))};
}

void NotchController::displaysChanged()
{
    const auto notch = m_surface->notchRect();
    if (!notch) {
        teardown();
        return;
    }
    for (const auto* mount : {&m_chipMount, &m_hintMount}) {
        if (*mount && (*mount)->bar())
            (*mount)->move(frameAt(*(*mount)->bar(), *notch));
    }
}

void NotchController::tell(NotchSource source, bool claimed)
{
    if (onSource)
        onSource(source, claimed);
}

// The old claim always goes before the new one is made.
void NotchController::setChipSource(std::optional<NotchSource> source)
{
    if (source == m_chipSource)
        return;
    if (m_chipSource)
        tell(*m_chipSource, false);
    m_chipSource = source;
    if (source)
        tell(*source, true);
}

void NotchController::releaseChipSource()
{
    setChipSource(std::nullopt);
}

void NotchController::clearChipMount()
{
    if (const auto mount = std::exchange(m_chipMount, nullptr))
        mount->remove();
}

void NotchController::showChip(const NotchContent& content, double duration, bool animated)
{
    if (m_hintMount) {
        m_pendingChip = PendingChip{content, duration};
        return;
    }
    m_pendingChip.reset();
    const auto bridge = makeBridge(content);
    if (!bridge)
        return;
    m_liveChipActive = false;
    m_chipDismiss.cancel();
    m_chipDismiss = {};
    clearChipMount();
    m_chipMount = bridge->mount;
    setChipSource(NotchSource::chip);
    if (animated) {
        bridge->bar->animateIn();
        std::weak_ptr<bool> alive = m_alive;
        m_chipDismiss = platform::platform().mainQueue().after(duration, [this, alive] {
            if (const auto a = alive.lock(); a && *a)
                dismissChip();
        });
    } else {
        bridge->bar->showStatic();
    }
}

void NotchController::showLiveChip(const NotchContent& content)
{
    if (m_hintMount)
        return;
    m_chipDismiss.cancel();
    m_chipDismiss = {};
    if (m_liveChipActive && m_chipMount) {
        // The countdown ticks in place: a new bar, swapped in without a flicker.
        const auto notch = m_surface->notchRect();
        if (!notch)
            return;
        // At rest before it is adopted, so the window's first shape is its whole body.
        auto* bar = new NotchBarView(content, notch->size(), drop);
        bar->showStatic();
        m_chipMount->replace(bar, frameAt(*bar, *notch));
        return;
    }
    clearChipMount();
    const auto bridge = makeBridge(content);
    if (!bridge) {
        // Nothing shows in the chip slot now, so it must not keep the notch:
        // a stale claim would hide the now-playing chip.
        m_liveChipActive = false;
        releaseChipSource();
        return;
    }
    m_liveChipActive = true;
    m_chipMount = bridge->mount;
    setChipSource(NotchSource::liveChip);
    bridge->bar->animateIn();
}

void NotchController::dismissChip()
{
    m_chipDismiss = {};
    // A live update that comes while the chip closes opens a new chip instead
    // of being swapped into the closing one and removed with it.
    m_liveChipActive = false;
    if (!m_chipMount) {
        releaseChipSource();
        return;
    }
    const std::weak_ptr<NotchMount> closing = m_chipMount;
    std::weak_ptr<bool> alive = m_alive;
    m_chipMount->bar()->animateOut([this, alive, closing] {
        const auto a = alive.lock();
        const auto m = closing.lock();
        // A chip that replaced this one while it closed keeps its bar and claim.
        if (!a || !*a || !m || m_chipMount != m)
            return;
        m_chipMount = nullptr;
        m->remove();
        releaseChipSource();
    });
}

void NotchController::showHints(const NotchContent& content, bool animated)
{
    if (const auto old = std::exchange(m_hintMount, nullptr))
        old->remove();
    m_chipDismiss.cancel();
    m_chipDismiss = {};
    m_liveChipActive = false;
    clearChipMount();
    releaseChipSource();

    const auto bridge = makeBridge(content);
    if (!bridge) {
        if (m_hintsActive) {
            m_hintsActive = false;
            tell(NotchSource::hints, false);
        }
        return;
    }
    m_hintMount = bridge->mount;
    if (!m_hintsActive) {
        m_hintsActive = true;
        tell(NotchSource::hints, true);
    }
    if (animated)
        bridge->bar->animateIn();
    else
        bridge->bar->showStatic();
}

void NotchController::dropHints(bool animated, bool keepingClaim)
{
    if (!m_hintMount)
        return;
    const auto mount = std::exchange(m_hintMount, nullptr);
    if (!keepingClaim && m_hintsActive) {
        m_hintsActive = false;
        tell(NotchSource::hints, false);
    }
    if (!animated) {
        mount->remove();
        return;
    }
    std::weak_ptr<bool> alive = m_alive;
    mount->bar()->animateOut([this, alive, mount] {
        mount->remove();
        const auto a = alive.lock();
        if (!a || !*a || m_hintMount || !m_pendingChip)
            return;
        const PendingChip chip = *std::exchange(m_pendingChip, std::nullopt);
        showChip(chip.content, chip.duration, true);
    });
}

void NotchController::teardown()
{
    m_chipDismiss.cancel();
    m_chipDismiss = {};
    m_liveChipActive = false;
    m_pendingChip.reset();
    clearChipMount();
    releaseChipSource();
    dropHints(false, false);
}

} // namespace quillon
