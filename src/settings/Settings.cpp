#include "settings/Settings.h"

#include "settings/SettingsDocument.h"
#include "support/Log.h"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace quillon {

using platform::DefaultsStore;
using platform::PlistValue;

namespace {

void logProblem(const QString& message)
{
    Log::error(message);
    Log::debug([&] { return message; });
}

QString profileSuite(const QString& suiteName)
{
    return suiteName + QStringLiteral(".profile2");
}

// The first user-perceived character of a non-empty text.
QString firstCharacter(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    return text.left(end > 0 ? end : 1);
}

} // namespace

std::optional<Settings::Profile> Settings::profileFromRaw(qint64 raw)
{
    if (raw == 1 || raw == 2)
        return Profile(raw);
    return std::nullopt;
}

std::optional<Settings::SpaceFeedback> Settings::spaceFeedbackFromRaw(qint64 raw)
{
    if (raw >= 0 && raw <= 2)
        return SpaceFeedback(raw);
    return std::nullopt;
}

Settings::Settings(platform::UserDefaults& userDefaults, QString suiteName)
    : m_userDefaults(userDefaults)
    , m_root(userDefaults.standard())
    , m_defaults(&m_root)
    , m_suiteName(std::move(suiteName))
{
    if (profile() == Profile::two) {
        if (DefaultsStore* second = store(Profile::two, m_userDefaults, m_suiteName)) {
            m_defaults = second;
        } else {
            // Reading and writing profile one's values while everything says
            // profile two would mix the two sets; start on profile one and
            // record that, so every reader of the active profile agrees.
            logProblem(
                QStringLiteral(
                    "Settings profile 2 cannot be opened (suite \"%1\" refused); starting on profile 1")
                    .arg(profileSuite(m_suiteName)));
            m_root.set(SettingsKeys::settingsActiveProfile, qint64(1));
        }
    }
    registerDefaults(*m_defaults);
}

QUuid Settings::addObserver(std::function<void()> handler)
{
    const QUuid id = QUuid::createUuid();
    m_observers.push_back({id, std::move(handler)});
    return id;
}

void Settings::removeObserver(const QUuid& id)
{
    std::erase_if(m_observers, [&](const Observer& o) { return o.id == id; });
}

void Settings::notifyObservers()
{
    // A handler may add or remove observers or write settings (a nested
    // pass); this pass still calls exactly those registered when it began.
    const std::vector<Observer> snapshot = m_observers;
    for (const Observer& observer : snapshot)
        observer.handler();
}

void Settings::set(const PlistValue& value, const QString& key)
{
    if (key == SettingsKeys::settingsActiveProfile) {
        // The active store must follow this key; only the profile switch keeps them together.
        setProfile(profileFromRaw(value.toInt()).value_or(Profile::one));
        return;
    }
    DefaultsStore& target = SettingsKeys::isRootOnly(key) ? m_root : *m_defaults;
    const std::optional<PlistValue> old = target.object(key);
    target.set(key, value);
    if (old && old->isEqualAsObject(value))
        return;
    notifyObservers();
}

Settings::Profile Settings::profile() const
{
    return m_root.integerForKey(SettingsKeys::settingsActiveProfile) == 2 ? Profile::two : Profile::one;
}

void Settings::setProfile(Profile newProfile)
{
    if (profile() == newProfile)
        return;
    DefaultsStore* next = store(newProfile, m_userDefaults, m_suiteName);
    if (!next) {
        logProblem(
            QStringLiteral("Settings profile 2 cannot be opened (suite \"%1\" refused); staying on profile 1")
                .arg(profileSuite(m_suiteName)));
        return;
    }
    m_root.set(SettingsKeys::settingsActiveProfile, qint64(newProfile));
    m_defaults = next;
    registerDefaults(*m_defaults);
    notifyObservers();
}

DefaultsStore* Settings::store(Profile profile, platform::UserDefaults& userDefaults,
                               const QString& suiteName)
{
    if (profile == Profile::one)
        return &userDefaults.standard();
    return userDefaults.suite(profileSuite(suiteName));
}

void Settings::registerDefaults(DefaultsStore& store)
{
    store.registerDefaults(SettingsKeys::registeredDefaults());
}

QString Settings::exportJSON(const QJsonObject& extras) const
{
    QJsonObject values;
    for (const QString& key : allKeys()) {
        if (auto value = m_defaults->object(key))
            values.insert(key, value->toJson());
    }
    return SettingsDocument::write(values, extras);
}

bool Settings::importJSON(const QString& text)
{
    const std::optional<QJsonObject> document = SettingsDocument::accept(text);
    if (!document)
        return false;
    const QJsonValue values = document->value(QStringLiteral("values"));
    if (!values.isObject())
        return false;

    static const QSet<QString> known(allKeys().begin(), allKeys().end());
    QMap<QString, PlistValue> accepted;
    bool changed = false;
    const QJsonObject members = values.toObject();
    for (auto it = members.begin(); it != members.end(); ++it) {
        if (!known.contains(it.key()))
            continue;
        const std::optional<PlistValue> current = m_defaults->object(it.key());
        const std::optional<PlistValue> value = SettingsDocument::plistValue(it.value(), current);
        if (!value || (current && !SettingsDocument::sameType(*value, current)))
            continue;
        accepted.insert(it.key(), *value);
        changed = changed || !current || !current->isEqualAsObject(*value);
    }
    // One write for the whole document: an import lands whole or not at all.
    m_defaults->setValues(accepted);
    if (changed)
        notifyObservers();
    return true;
}

std::optional<QJsonArray> Settings::importedSection(const QString& name, const QString& text) const
{
    const std::optional<QJsonObject> document = SettingsDocument::accept(text);
    if (!document)
        return std::nullopt;
    const QJsonValue section = document->value(name);
    if (!section.isArray())
        return std::nullopt;
    return section.toArray();
}

QSet<QString> Settings::readSet(const QString& key) const
{
    const QStringList list = m_defaults->stringArrayForKey(key).value_or(QStringList());
    return QSet<QString>(list.begin(), list.end());
}

void Settings::writeSet(const QString& key, const QSet<QString>& values)
{
    QStringList sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end());
    set(sorted, key);
}

void Settings::toggle(const QString& key, const QString& bundleID)
{
    QSet<QString> values = readSet(key);
    if (!values.remove(bundleID))
        values.insert(bundleID);
    writeSet(key, values);
}

QString Settings::listedAppsKey() const
{
    return m_defaults->stringForKey(SettingsKeys::sweepListMode) == QLatin1String("onlyListed")
               ? SettingsKeys::sweepOnlyListedApps
               : SettingsKeys::sweepListedApps;
}

QString Settings::autoQuitAppsKey() const
{
    return m_defaults->stringForKey(SettingsKeys::autoQuitListMode) == QLatin1String("excludeListed")
               ? SettingsKeys::autoQuitExcludedApps
               : SettingsKeys::autoQuitApps;
}

qint64 Settings::autoQuitMinutes() const
{
    return std::max<qint64>(1, readInt(SettingsKeys::autoQuitMinutes));
}

qint64 Settings::notchMaxHintItems() const
{
    return std::clamp<qint64>(readInt(SettingsKeys::notchMaxHintItems), 2, 20);
}

Settings::SpaceFeedback Settings::spaceFeedback() const
{
    if (readBool(SettingsKeys::notchSpaceNumber))
        return SpaceFeedback::notch;
    if (readBool(SettingsKeys::swipeShowsOSD))
        return SpaceFeedback::onScreen;
    return SpaceFeedback::none;
}

void Settings::setSpaceFeedback(SpaceFeedback feedback)
{
    set(feedback == SpaceFeedback::notch, SettingsKeys::notchSpaceNumber);
    set(feedback != SpaceFeedback::none, SettingsKeys::swipeShowsOSD);
}

QMap<QString, QString> Settings::jumpForced() const
{
    QMap<QString, QString> letters;
    const platform::StringDictionary stored =
        m_defaults->dictionaryForKey(SettingsKeys::jumpForced).value_or(platform::StringDictionary());
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (it.key().isEmpty())
            continue;
        const QString letter = firstCharacter(it.key());
        if (!letters.contains(letter))
            letters.insert(letter, it.value());
    }
    return letters;
}

void Settings::setJumpForced(const QMap<QString, QString>& letters)
{
    platform::StringDictionary stored;
    for (auto it = letters.begin(); it != letters.end(); ++it) {
        if (!it.key().isEmpty())
            stored.insert(firstCharacter(it.key()), it.value());
    }
    set(stored, SettingsKeys::jumpForced);
}

void Settings::setJumpForced(const std::optional<QString>& letter, const QString& bundleID)
{
    QMap<QString, QString> letters = jumpForced();
    letters.removeIf([&](const auto& entry) { return entry.value() == bundleID; });
    if (letter && !letter->isEmpty()) {
        const QString character = firstCharacter(*letter);
        if (QChar::isLetter(character.toUcs4().value(0))) {
            letters.remove(character);
            letters.insert(character, bundleID);
        }
    }
    setJumpForced(letters);
}

} // namespace quillon
