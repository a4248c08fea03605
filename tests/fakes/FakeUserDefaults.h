#pragma once

#include "platform/UserDefaults.h"

#include <QSet>
#include <map>
#include <memory>

namespace quillon::fakes {

class FakeDefaultsStore final : public platform::DefaultsStore {
public:
    explicit FakeDefaultsStore(QString domain) : m_domain(std::move(domain)) {}
    QString domain() const override { return m_domain; }
    std::optional<platform::PlistValue> storedValue(const QString& key) const override;
    void set(const QString& key, const platform::PlistValue& value) override { m_values.insert(key, value); }
    void remove(const QString& key) override { m_values.remove(key); }
    QStringList storedKeys() const override { return m_values.keys(); }

private:
    QString m_domain;
    QMap<QString, platform::PlistValue> m_values;
};

/// In-memory defaults; suites named in `refusedSuites` cannot be opened.
class FakeUserDefaults final : public platform::UserDefaults {
public:
    FakeDefaultsStore& standard() override { return m_standard; }
    platform::DefaultsStore* suite(const QString& name) override;

    QSet<QString> refusedSuites;

private:
    FakeDefaultsStore m_standard{QStringLiteral("app.quillon.Quillon")};
    std::map<QString, std::unique_ptr<FakeDefaultsStore>> m_suites;
};

} // namespace quillon::fakes
