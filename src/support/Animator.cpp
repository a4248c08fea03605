#include "support/Animator.h"

#include "platform/Platform.h"

#include <algorithm>

namespace quillon {

namespace {

// Times are sums of uptimes and durations; a completion due within this much
// of a frame runs on it rather than a whole frame later.
constexpr double kTolerance = 1e-6;

} // namespace

Animator::Animator(std::function<void()> onFrame)
    : m_onFrame(std::move(onFrame))
{
}

Animator::~Animator()
{
    *m_alive = false;
    m_next.cancel();
}

double Animator::now()
{
    return platform::platform().clock().uptime();
}

void Animator::runUntil(double time)
{
    m_until = std::max(m_until, time);
    schedule();
}

void Animator::setContinuous(bool on, double interval)
{
    m_continuous = on;
    m_continuousInterval = interval;
    schedule();
}

bool Animator::isRunning() const
{
    return m_next.isPending();
}

int Animator::at(double time, std::function<void()> fn)
{
    const int token = ++m_lastToken;
    m_pending.push_back({token, time, std::move(fn)});
    schedule();
    return token;
}

void Animator::fireSoon(int token)
{
    for (auto& p : m_pending) {
        if (p.token == token)
            p.time = std::min(p.time, now());
    }
    schedule();
}

void Animator::drop(int token)
{
    std::erase_if(m_pending, [token](const Pending& p) { return p.token == token; });
}

// The next frame comes a frame interval after now, or sooner when a
// completion falls due before that, so completions run on time.
void Animator::schedule()
{
    const double t = now();
    const bool wanted = m_continuous || t < m_until || !m_pending.empty();
    if (!wanted)
        return;
    double next = t + (t < m_until || !m_continuous ? frameInterval : m_continuousInterval);
    for (const auto& p : m_pending)
        next = std::min(next, std::max(p.time, t));
    if (m_next.isPending() && m_nextTime <= next)
        return;
    m_next.cancel();
    m_nextTime = next;
    std::weak_ptr<bool> alive = m_alive;
    m_next = platform::platform().mainQueue().after(std::max(0.0, next - t - kTolerance / 2), [this, alive] {
        if (const auto a = alive.lock(); a && *a)
            tick();
    });
}

void Animator::tick()
{
    const auto alive = m_alive;
    m_next = {};
    if (m_onFrame)
        m_onFrame();
    if (!*alive)
        return;
    const double t = now();
    std::vector<Pending> due;
    std::stable_sort(m_pending.begin(), m_pending.end(),
                     [](const Pending& a, const Pending& b) { return a.time < b.time; });
    while (!m_pending.empty() && m_pending.front().time <= t + kTolerance) {
        due.push_back(std::move(m_pending.front()));
        m_pending.erase(m_pending.begin());
    }
    // A completion may end the view that owns this driver.
    for (auto& p : due) {
        p.fn();
        if (!*alive)
            return;
    }
    schedule();
}

} // namespace quillon
