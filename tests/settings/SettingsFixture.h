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

} // namespace quillon::testing
