#pragma once

#include "platform/Haptics.h"
#include "platform/PowerAssertions.h"

#include <vector>

namespace quillon::fakes {

/// Records every creation and release in order; refuses `failNext` creations.
class FakePowerAssertions final : public platform::PowerAssertions {
public:
    struct Event {
        bool created; // false: released
        Handle handle;
        platform::PowerAssertionKind kind;
        QString reason;
    };

    std::variant<Handle, Refusal> create(platform::PowerAssertionKind kind, const QString& reason) override
    {
        if (failNext > 0) {
            --failNext;
            return Refusal{-5};
        }
        const Handle handle = ++m_last;
        held.push_back({true, handle, kind, reason});
        events.push_back(held.back());
        return handle;
    }
    void release(Handle handle) override
    {
        for (auto it = held.begin(); it != held.end(); ++it) {
            if (it->handle == handle) {
                events.push_back({false, handle, it->kind, it->reason});
                held.erase(it);
                return;
            }
        }
    }

    int failNext = 0;
    std::vector<Event> held;
    std::vector<Event> events;

    bool othersPreventDisplaySleep() override { return others; }
    void refreshOthers() override { ++refreshes; }
    bool others = false;
    int refreshes = 0;

private:
    Handle m_last = 0;
};

class FakeHaptics final : public platform::Haptics {
public:
    void perform() override { ++count; }
    int count = 0;
};

} // namespace quillon::fakes
