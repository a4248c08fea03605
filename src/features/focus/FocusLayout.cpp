#include "features/focus/FocusLayout.h"

#include "windows/WindowCensus.h"

#include <algorithm>
#include <cmath>

namespace quillon::FocusLayout {

std::optional<qulonglong> litWindowID(std::optional<qint64> owner, std::optional<qulonglong> focused,
                                      const std::vector<Owned>& onScreen)
{
    if (!owner)
        return std::nullopt;
    if (focused) {
        const bool listed = std::any_of(onScreen.begin(), onScreen.end(), [&](const Owned& o) {
            return o.pid == *owner && o.window.id == *focused;
        });
        if (listed)
            return focused;
    }
    for (const Owned& o : onScreen) {
        if (o.pid == *owner)
            return o.window.id;
    }
    return std::nullopt;
}

std::vector<Window> dimCandidates(std::optional<qulonglong> lit, std::optional<qint64> owner,
                                  const std::vector<Owned>& onScreen)
{
    const auto litAt = std::find_if(onScreen.begin(), onScreen.end(),
                                    [&](const Owned& o) { return lit && o.window.id == *lit; });
    std::vector<Window> dimmed;
    for (auto it = onScreen.begin(); it != onScreen.end(); ++it) {
        if (litAt == onScreen.end() || it > litAt || (it < litAt && (!owner || it->pid != *owner)))
            dimmed.push_back(it->window);
    }
    return dimmed;
}

std::vector<std::optional<qulonglong>> topmostWindowPerScreen(const std::vector<QRectF>& screens,
                                                              const std::vector<Window>& windows)
{
    std::vector<std::optional<qulonglong>> topmost(screens.size());
    for (const Window& w : windows) {
        for (std::size_t i = 0; i < screens.size(); ++i) {
            if (!topmost[i] && w.bounds.intersects(screens[i]))
                topmost[i] = w.id;
        }
    }
    return topmost;
}

std::optional<qulonglong> matchFrame(const QRectF& frame, qint64 pid, const std::vector<Owned>& onScreen)
{
    const auto near = [](double a, double b) { return std::abs(a - b) < 2.0; };
    for (const Owned& o : onScreen) {
        const QRectF& b = o.window.bounds;
        if (o.pid == pid && near(b.x(), frame.x()) && near(b.y(), frame.y()) &&
            near(b.width(), frame.width()) && near(b.height(), frame.height()))
            return o.window.id;
    }
    return std::nullopt;
}

Plan plan(const Facts& facts)
{
    Plan plan;
    for (const platform::WindowEntry& entry : facts.list) {
        if (!entry.pid || !WindowCensus::isNormalWindow(entry) || facts.overlays.count(entry.id))
            continue;
        plan.onScreen.push_back({*entry.pid, {entry.id, *entry.bounds}});
    }
    const auto listed = [&](qint64 pid) {
        return std::any_of(plan.onScreen.begin(), plan.onScreen.end(),
                           [&](const Owned& o) { return o.pid == pid; });
    };
    if (facts.front && *facts.front != facts.ownPid && listed(*facts.front))
        plan.owner = facts.front;
    else if (facts.front && *facts.front == facts.ownPid && facts.ownWindowVisible)
        plan.owner = facts.ownPid;
    else if (!plan.onScreen.empty())
        plan.owner = plan.onScreen.front().pid;
    plan.frontIsWindowless = !facts.front || plan.owner != facts.front;

    std::optional<qulonglong> focused;
    if (plan.owner && facts.focusedWindow)
        focused = facts.focusedWindow(*plan.owner, plan.onScreen);
    plan.lit = litWindowID(plan.owner, focused, plan.onScreen);
    plan.anchors = topmostWindowPerScreen(facts.screens, dimCandidates(plan.lit, plan.owner, plan.onScreen));
    return plan;
}

} // namespace quillon::FocusLayout
