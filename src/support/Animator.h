#pragma once

#include "platform/MainQueue.h"

#include <functional>
#include <memory>
#include <vector>

namespace quillon {

/// Drives the animations of one view: while any runs it asks for a frame at
/// frame rate, and it runs completions when their time comes. Time is the
/// platform clock's uptime and frames are main-queue work items, so a test
/// steps every animation with its manual clock.
class Animator {
public:
    static constexpr double frameInterval = 1.0 / 60;

    /// `onFrame` repaints; it runs on every frame.
    explicit Animator(std::function<void()> onFrame);
    ~Animator();
    Animator(const Animator&) = delete;
    Animator& operator=(const Animator&) = delete;

    /// Now, on the platform clock.
    static double now();

    /// Keeps frames coming until `time`; an earlier time than one already
    /// asked for changes nothing.
    void runUntil(double time);
    /// Keeps frames coming while on (for animations that repeat for ever),
    /// `interval` apart once no timed animation runs.
    void setContinuous(bool on, double interval = frameInterval);
    bool isRunning() const;

    /// Runs `fn` once `time` has come, right after that frame is drawn. Answers
    /// a token for `fire` and `drop`.
    int at(double time, std::function<void()> fn);
    /// Brings a pending completion forward to the next frame.
    void fireSoon(int token);
    /// Forgets a pending completion.
    void drop(int token);

private:
    struct Pending {
        int token;
        double time;
        std::function<void()> fn;
    };
    void schedule();
    void tick();

    std::function<void()> m_onFrame;
    std::vector<Pending> m_pending;
    double m_until = 0;
    bool m_continuous = false;
    double m_continuousInterval = frameInterval;
    int m_lastToken = 0;
    platform::WorkItem m_next;
    double m_nextTime = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
