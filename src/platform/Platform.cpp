#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace quillon::platform {

namespace {
Platform* g_platform = nullptr;
}

Platform& platform()
{
    if (!g_platform) {
        std::fputs("quillon: no platform installed\n", stderr);
        std::abort();
    }
    return *g_platform;
}

bool hasPlatform() { return g_platform != nullptr; }

void setPlatform(Platform* platform) { g_platform = platform; }

void WorkItem::cancel()
{
    if (!m_state || m_state->cancelled || m_state->done)
        return;
    m_state->cancelled = true;
    if (auto release = std::move(m_state->onCancel))
        release();
}

} // namespace quillon::platform
