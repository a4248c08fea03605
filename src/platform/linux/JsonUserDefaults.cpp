#include "platform/linux/JsonUserDefaults.h"

#include "platform/Platform.h"
#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace quillon::platform::linux_ {

namespace {

void logError(const QString& message)
{
    platform().systemLog().write(LogLevel::Error, QStringLiteral("settings"), message);
    Log::debug([&] { return message; });
}

} // namespace

JsonDefaultsStore::JsonDefaultsStore(QString domain, QString path)
    : m_domain(std::move(domain))
    , m_path(std::move(path))
{
    load();
}

void JsonDefaultsStore::load()
{
    AtomicFile::removeLeftovers(m_path);
    QFile file(m_path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        // The next save would replace what could not be read: keep it aside.
        const QString reason = file.errorString();
        const QString aside = AtomicFile::moveAside(m_path, platform().clock().now());
        logError(QStringLiteral("Settings file %1 cannot be read (%2); moved aside as %3, starting empty")
                     .arg(m_path, reason, aside.isEmpty() ? QStringLiteral("(move failed)") : aside));
        return;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        // Never overwrite a file we could not read: keep it for the person to inspect.
        const QString aside = AtomicFile::moveAside(m_path, platform().clock().now());
        logError(QStringLiteral("Settings file %1 is not valid (%2); moved aside as %3, starting empty")
                     .arg(m_path, error.error != QJsonParseError::NoError ? error.errorString()
                                                                         : QStringLiteral("not an object"),
                          aside.isEmpty() ? QStringLiteral("(move failed)") : aside));
        return;
    }
    const QJsonObject values = doc.object();
    QStringList unreadable;
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (auto value = PlistValue::fromTaggedJson(it.value()))
            m_values.insert(it.key(), *value);
        else
            unreadable << QLatin1Char('"') + it.key() + QLatin1Char('"');
    }
    if (unreadable.isEmpty())
        return;
    // The next save would drop what could not be read: keep the file as it
    // was, and the readable values in its place.
    const QString aside = AtomicFile::moveAside(m_path, platform().clock().now());
    logError(QStringLiteral("Settings file %1: %2 unreadable and ignored; original moved aside as %3")
                 .arg(m_path, unreadable.join(QStringLiteral(", ")),
                      aside.isEmpty() ? QStringLiteral("(move failed)") : aside));
    if (!aside.isEmpty())
        save();
}

void JsonDefaultsStore::save()
{
    QJsonObject values;
    for (auto it = m_values.begin(); it != m_values.end(); ++it)
        values.insert(it.key(), it.value().toTaggedJson());
    QString error;
    if (!AtomicFile::write(m_path, QJsonDocument(values).toJson(QJsonDocument::Indented), &error))
        logError(QStringLiteral("Settings file %1 could not be written: %2").arg(m_path, error));
}

std::optional<PlistValue> JsonDefaultsStore::storedValue(const QString& key) const
{
    auto it = m_values.constFind(key);
    if (it == m_values.constEnd())
        return std::nullopt;
    return *it;
}

void JsonDefaultsStore::set(const QString& key, const PlistValue& value)
{
    auto it = m_values.find(key);
    if (it != m_values.end() && *it == value)
        return;
    m_values.insert(key, value);
    save();
}

void JsonDefaultsStore::setValues(const QMap<QString, PlistValue>& values)
{
    bool changed = false;
    for (auto it = values.begin(); it != values.end(); ++it) {
        auto current = m_values.find(it.key());
        if (current != m_values.end() && *current == it.value())
            continue;
        m_values.insert(it.key(), it.value());
        changed = true;
    }
    if (changed)
        save();
}

void JsonDefaultsStore::remove(const QString& key)
{
    if (m_values.remove(key) > 0)
        save();
}

JsonUserDefaults::JsonUserDefaults(QString folder, QString standardDomain)
    : m_folder(std::move(folder))
    , m_standardDomain(std::move(standardDomain))
    , m_standard(std::make_unique<JsonDefaultsStore>(m_standardDomain, m_folder + '/' + m_standardDomain + ".json"))
{
}

DefaultsStore* JsonUserDefaults::suite(const QString& name)
{
    // As with the system defaults database, a suite cannot be the standard
    // domain itself, and its name must be usable as a file name.
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._-]*$"));
    if (name == m_standardDomain || !valid.match(name).hasMatch()) {
        logError(QStringLiteral("Settings suite \"%1\" cannot be used").arg(name));
        return nullptr;
    }
    auto it = m_suites.find(name);
    if (it == m_suites.end())
        it = m_suites.emplace(name, std::make_unique<JsonDefaultsStore>(name, m_folder + '/' + name + ".json")).first;
    return it->second.get();
}

} // namespace quillon::platform::linux_
