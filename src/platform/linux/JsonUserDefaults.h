#pragma once

#include "platform/UserDefaults.h"

#include <map>
#include <memory>

namespace quillon::platform::linux_ {

/// One defaults domain kept as a JSON file of type-tagged values, rewritten
/// whole on every change.
class JsonDefaultsStore final : public DefaultsStore {
public:
    JsonDefaultsStore(QString domain, QString path);

    QString domain() const override { return m_domain; }
    std::optional<PlistValue> storedValue(const QString& key) const override;
    void set(const QString& key, const PlistValue& value) override;
    void setValues(const QMap<QString, PlistValue>& values) override;
    void remove(const QString& key) override;
    QStringList storedKeys() const override { return m_values.keys(); }

    QString path() const { return m_path; }

private:
    void load();
    void save();

    QString m_domain;
    QString m_path;
    QMap<QString, PlistValue> m_values;
};

/// The defaults database: one file per domain in the config folder.
class JsonUserDefaults final : public UserDefaults {
public:
    JsonUserDefaults(QString folder, QString standardDomain);

    DefaultsStore& standard() override { return *m_standard; }
    DefaultsStore* suite(const QString& name) override;

private:
    QString m_folder;
    QString m_standardDomain;
    std::unique_ptr<JsonDefaultsStore> m_standard;
    std::map<QString, std::unique_ptr<JsonDefaultsStore>> m_suites;
};

} // namespace quillon::platform::linux_
