#include "platform/linux/SystemClock.h"

#include <time.h>

namespace quillon::platform::linux_ {

double SystemClock::uptime() const
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

} // namespace quillon::platform::linux_
