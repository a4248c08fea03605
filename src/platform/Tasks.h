#pragma once

#include <functional>
#include <memory>
#include <optional>

namespace quillon::platform {

/// A queue of background work whose jobs never overlap.
class SerialQueue {
public:
    virtual ~SerialQueue() = default;
    /// Runs work off the main thread, after every job queued before it; then
    /// runs `then` (may be empty) on the main queue.
    virtual void run(std::function<void()> work, std::function<void()> then = {}) = 0;
};

/// Background work. Jobs report back through the main queue; they share no
/// state with the main thread beyond what they capture.
class Tasks {
public:
    virtual ~Tasks() = default;
    /// Runs work on a thread pool, then `then` (may be empty) on the main queue.
    virtual void run(std::function<void()> work, std::function<void()> then = {}) = 0;
    /// A new serial queue, owned by the caller.
    virtual std::unique_ptr<SerialQueue> makeSerial() = 0;

    /// Runs work in the background and hands its result to `then` on the main queue.
    template <typename R>
    void runWithResult(std::function<R()> work, std::function<void(R)> then)
    {
        auto result = std::make_shared<std::optional<R>>();
        run([work = std::move(work), result] { result->emplace(work()); },
            [then = std::move(then), result] { then(std::move(**result)); });
    }
};

} // namespace quillon::platform
