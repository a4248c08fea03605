#pragma once

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <memory>

namespace quillon::testing {

/// A settings store over the fake defaults database, with a counter of
/// observer calls.
class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override { open(); }

    /// (Re)creates the store, as a fresh launch does.
    void open()
    {
        settings = std::make_unique<Settings>(fake.defaults, suiteName);
        notifications = 0;
        settings->addObserver([this] { ++notifications; });
    }

    platform::DefaultsStore& root() { return fake.defaults.standard(); }
    platform::DefaultsStore& profileTwoStore() { return *fake.defaults.suite(suiteName + ".profile2"); }

    fakes::FakePlatform fake;
    const QString suiteName = QStringLiteral("app.quillon.Quillon");
    std::unique_ptr<Settings> settings;
    int notifications = 0;
};

/// Another value of the same kind. A double moves by a whole 1.0: the JSON
/// writer prints 3.0 as 3, and such a value must still come back a double.
inline platform::PlistValue otherValue(const platform::PlistValue& value)
{
    if (auto b = value.asBool())
        return !*b;
    if (auto i = value.asInt())
        return *i + 3;
    if (auto d = value.asDouble())
        return *d + 1.0;
    return *value.asString() + QStringLiteral("-other");
}

} // namespace quillon::testing
