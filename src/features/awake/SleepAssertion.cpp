#include "features/awake/SleepAssertion.h"

#include "platform/Platform.h"
#include "support/Log.h"

namespace quillon {

SleepAssertion::~SleepAssertion()
{
    if (platform::hasPlatform())
        release();
}

bool SleepAssertion::acquire(Kind kind, const QString& reason)
{
    if (m_kind == kind)
        return true;
    auto& assertions = platform::platform().powerAssertions();
    const auto made = assertions.create(kind, reason);
    if (const auto* refusal = std::get_if<platform::PowerAssertions::Refusal>(&made)) {
        Log::error(QStringLiteral("Awake: power assertion failed (%1)").arg(refusal->code));
        return false;
    }
    const auto old = m_kind ? std::optional(m_id) : std::nullopt;
    m_id = std::get<platform::PowerAssertions::Handle>(made);
    m_kind = kind;
    if (old)
        assertions.release(*old);
    return true;
}

void SleepAssertion::release()
{
    if (!m_kind)
        return;
    platform::platform().powerAssertions().release(m_id);
    m_id = 0;
    m_kind.reset();
}

} // namespace quillon
