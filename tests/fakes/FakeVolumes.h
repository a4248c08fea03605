#pragma once

#include "platform/Observers.h"
#include "platform/Volumes.h"

namespace quillon::fakes {

/// Scripted volumes: `mount` and `unmount` tell the handlers.
class FakeVolumes final : public platform::Volumes {
public:
    std::vector<platform::Volume> mounted() override { return volumes; }
    std::optional<int> addChangeHandler(std::function<void()> handler) override
    {
        return m_handlers.add(std::move(handler));
    }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

    void mount(platform::Volume volume)
    {
        volumes.push_back(std::move(volume));
        m_handlers.notify();
    }
    void unmount(const QString& mountPoint)
    {
        std::erase_if(volumes, [&](const platform::Volume& v) { return v.mountPoint == mountPoint; });
        m_handlers.notify();
    }
    bool watching() const { return !m_handlers.empty(); }

    std::vector<platform::Volume> volumes;

private:
    platform::Observers<> m_handlers;
};

} // namespace quillon::fakes
