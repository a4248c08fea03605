#pragma once

#include "platform/Clock.h"

#include <QElapsedTimer>

namespace quillon::platform::linux_ {

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTimeUtc(); }
    double uptime() const override;
};

} // namespace quillon::platform::linux_
