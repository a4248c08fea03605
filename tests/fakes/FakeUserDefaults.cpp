#include "fakes/FakeUserDefaults.h"

namespace quillon::fakes {

std::optional<platform::PlistValue> FakeDefaultsStore::storedValue(const QString& key) const
{
    auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

platform::DefaultsStore* FakeUserDefaults::suite(const QString& name)
{
    if (refusedSuites.contains(name))
        return nullptr;
    auto& slot = m_suites[name];
    if (!slot)
        slot = std::make_unique<FakeDefaultsStore>(name);
    return slot.get();
}

} // namespace quillon::fakes
