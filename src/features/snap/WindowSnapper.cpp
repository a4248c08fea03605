#include "features/snap/WindowSnapper.h"

#include "platform/Platform.h"
#include "support/Log.h"

#include <cmath>

namespace quillon {

namespace {

const std::map<SnapPosition, SnapPosition>& cycleNext()
{
    static const std::map<SnapPosition, SnapPosition> table{
        {SnapPosition::leftHalf, SnapPosition::leftTwoThirds},
        {SnapPosition::leftTwoThirds, SnapPosition::leftThird},
        {SnapPosition::leftThird, SnapPosition::leftHalf},
        {SnapPosition::rightHalf, SnapPosition::rightTwoThirds},
        {SnapPosition::rightTwoThirds, SnapPosition::rightThird},
        {SnapPosition::rightThird, SnapPosition::rightHalf},
    };
    return table;
}

const std::map<SnapPosition, SnapPosition>& cycleTrigger()
{
    static const std::map<SnapPosition, SnapPosition> table{
        {SnapPosition::leftHalf, SnapPosition::leftHalf},
        {SnapPosition::leftTwoThirds, SnapPosition::leftHalf},
        {SnapPosition::leftThird, SnapPosition::leftHalf},
        {SnapPosition::rightHalf, SnapPosition::rightHalf},
        {SnapPosition::rightTwoThirds, SnapPosition::rightHalf},
        {SnapPosition::rightThird, SnapPosition::rightHalf},
    };
    return table;
}

double area(const QRectF& r)
{
    return r.isEmpty() ? 0.0 : r.width() * r.height();
}

// Minimum edges inside, maximum edges outside, so a centre on the seam
// between two screens belongs to one of them only.
bool holds(const QRectF& r, const QPointF& p)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

} // namespace

WindowSnapper::WindowSnapper()
    : m_self(std::make_shared<WindowSnapper*>(this))
{
}

WindowSnapper::~WindowSnapper()
{
    m_self.reset();
    for (const auto& entry : m_watches)
        platform::platform().windowEvents().remove(entry.second);
}

void WindowSnapper::snap(SnapPosition position, std::optional<int32_t> pid)
{
    m_queue.push_back({position, pid});
    if (!m_busy)
        runNext();
}

void WindowSnapper::runNext()
{
    while (!m_busy && !m_queue.empty()) {
        const Request request = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        m_performing = true;
        const bool waiting = perform(request);
        m_performing = false;
        // A completion that came at once has already cleared the flag.
        if (!waiting)
            m_busy = false;
    }
}

void WindowSnapper::finished()
{
    m_busy = false;
    if (!m_performing)
        runNext();
}

void WindowSnapper::clear()
{
    for (const auto& entry : m_watches)
        platform::platform().windowEvents().remove(entry.second);
    m_watches.clear();
    m_restoreFrames.clear();
    m_lastSetFrames.clear();
    m_lastApplied.clear();
}

bool WindowSnapper::perform(const Request& request)
{
    const SnapPosition position = request.position;
    const auto window = AXWindow::focused(request.pid);
    const auto current = window ? window->frame() : std::nullopt;
    if (!window || !current) {
        Log::debug([&] {
            return QStringLiteral("Snap ") + caseName(position) + QStringLiteral(": no focused window");
        });
        return false;
    }
    const Key key = window->element;
    if (position == SnapPosition::nextDisplay || position == SnapPosition::previousDisplay)
        return applyDisplayMove(position, *window, *current);
    if (position == SnapPosition::restore)
        return restore(*window);
    if (!window->isResizable())
        return false;
    const SnapPosition applied = cycled(position, key, *current);
    const auto screen = WindowSnapper::screen(*current);
    if (!screen) {
        Log::debug(
            [&] { return QStringLiteral("Snap ") + caseName(position) + QStringLiteral(": no screen"); });
        return false;
    }
    const auto target = snapFrame(applied, screen->visibleFrame, current->size());
    if (!target)
        return false;
    rememberRestore(key, *current);
    watch(*window);
    std::weak_ptr<WindowSnapper*> weak = m_self;
    const QRectF wanted = *target;
    window->setFrame(wanted, [weak, key, applied, wanted](std::optional<QRectF> readBack) {
        const auto self = weak.lock();
        if (!self)
            return;
        WindowSnapper& snapper = **self;
        // The window may have closed meanwhile; its entries are gone then.
        if (snapper.m_watches.count(key)) {
            snapper.m_lastSetFrames[key] = readBack.value_or(wanted);
            snapper.m_lastApplied[key] = applied;
        }
        snapper.finished();
    });
    return true;
}

bool WindowSnapper::restore(const AXWindow& window)
{
    const Key key = window.element;
    const auto stored = m_restoreFrames.find(key);
    if (stored == m_restoreFrames.end()) {
        Log::debug([&] {
            return QStringLiteral("Snap restore: nothing stored for window ") + QString::number(key);
        });
        return false;
    }
    const QRectF frame = stored->second;
    forget(key);
    Log::debug([&] { return QStringLiteral("Snap restored window ") + QString::number(key); });
    std::weak_ptr<WindowSnapper*> weak = m_self;
    window.setFrame(frame, [weak](std::optional<QRectF>) {
        if (const auto self = weak.lock())
            (*self)->finished();
    });
    return true;
}

bool WindowSnapper::applyDisplayMove(SnapPosition position, const AXWindow& window, const QRectF& c)
{
    const auto screens = platform::platform().displays().screens();
    const int n = int(screens.size());
    if (n < 2)
        return false;
    const auto source = screen(c);
    if (!source)
        return false;
    const auto found = std::find(screens.begin(), screens.end(), *source);
    if (found == screens.end())
        return false;
    const int i = int(found - screens.begin());
    const int d = position == SnapPosition::nextDisplay ? 1 : -1;
    const platform::Screen& target = screens[size_t((i + d + n) % n)];
    const QRectF sv = source->visibleFrame, tv = target.visibleFrame;
    if (sv.width() <= 0 || sv.height() <= 0)
        return false;
    const double rx = (c.x() - sv.x()) / sv.width(), ry = (c.y() - sv.y()) / sv.height();
    const double rw = c.width() / sv.width(), rh = c.height() / sv.height();
    const QRectF moved(tv.x() + rx * tv.width(), tv.y() + ry * tv.height(), rw * tv.width(),
                       rh * tv.height());
    const Key key = window.element;
    watch(window);
    std::weak_ptr<WindowSnapper*> weak = m_self;
    window.setFrame(moved, [weak, key, moved](std::optional<QRectF> readBack) {
        const auto self = weak.lock();
        if (!self)
            return;
        WindowSnapper& snapper = **self;
        if (snapper.m_watches.count(key))
            snapper.m_lastSetFrames[key] = readBack.value_or(moved);
        snapper.finished();
    });
    return true;
}

SnapPosition WindowSnapper::cycled(SnapPosition position, Key key, const QRectF& c) const
{
    const auto last = m_lastApplied.find(key);
    if (last == m_lastApplied.end())
        return position;
    const auto trigger = cycleTrigger().find(last->second);
    if (trigger == cycleTrigger().end() || trigger->second != position)
        return position;
    const auto f = m_lastSetFrames.find(key);
    if (f == m_lastSetFrames.end())
        return position;
    if (std::abs(c.center().x() - f->second.center().x()) >= 2 ||
        std::abs(c.center().y() - f->second.center().y()) >= 2)
        return position;
    const auto next = cycleNext().find(last->second);
    return next == cycleNext().end() ? position : next->second;
}

void WindowSnapper::rememberRestore(Key key, const QRectF& c)
{
    const auto last = m_lastSetFrames.find(key);
    if (last != m_lastSetFrames.end() && approxEqual(last->second, c, 2.0))
        return;
    m_restoreFrames[key] = c;
    Log::debug(
        [&] { return QStringLiteral("Snap stored restore frame for window ") + QString::number(key); });
}

// X11 reuses window ids: a closed window's entries must not pass to the next
// window that gets its id.
void WindowSnapper::watch(const AXWindow& window)
{
    const Key key = window.element;
    if (m_watches.count(key))
        return;
    platform::WindowEvents& events = platform::platform().windowEvents();
    std::weak_ptr<WindowSnapper*> weak = m_self;
    const auto token =
        events.observe(window.pid, [weak, key](platform::WindowNotification what, platform::WindowId w) {
            if (what != platform::WindowNotification::elementDestroyed || w != key)
                return;
            if (const auto self = weak.lock())
                (*self)->forget(key);
        });
    if (!token) {
        m_watches[key] = -1;
        return;
    }
    events.add(*token, platform::WindowNotification::elementDestroyed, key);
    m_watches[key] = *token;
}

void WindowSnapper::forget(Key key)
{
    m_restoreFrames.erase(key);
    m_lastSetFrames.erase(key);
    m_lastApplied.erase(key);
    const auto watch = m_watches.find(key);
    if (watch == m_watches.end())
        return;
    const int token = watch->second;
    m_watches.erase(watch);
    if (token >= 0)
        platform::platform().windowEvents().remove(token);
}

std::optional<platform::Screen> WindowSnapper::screen(const QRectF& r)
{
    platform::Displays& displays = platform::platform().displays();
    const auto screens = displays.screens();
    for (const auto& s : screens) {
        if (holds(s.frame, r.center()))
            return s;
    }
    if (screens.empty())
        return displays.mainScreen();
    const platform::Screen* best = &screens.front();
    double bestArea = 0;
    for (const auto& s : screens) {
        const double a = area(s.frame.intersected(r));
        if (a > bestArea) {
            bestArea = a;
            best = &s;
        }
    }
    return *best;
}

bool WindowSnapper::approxEqual(const QRectF& a, const QRectF& b, double t)
{
    return std::abs(a.x() - b.x()) < t && std::abs(a.y() - b.y()) < t &&
           std::abs(a.width() - b.width()) < t && std::abs(a.height() - b.height()) < t;
}

} // namespace quillon
