#include "features/snippets/SnippetStore.h"

#include "platform/Clock.h"
#include "platform/Platform.h"
#include "support/AppFiles.h"
#include "support/AtomicFile.h"
#include "support/Log.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillon {

namespace {

const QString idKey = QStringLiteral("id");
const QString triggerKey = QStringLiteral("trigger");
const QString bodyKey = QStringLiteral("body");

std::optional<QUuid> parseId(const QJsonValue& value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (text.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(text);
    if (id.isNull() && text != QStringLiteral("00000000-0000-0000-0000-000000000000"))
        return std::nullopt;
    return id;
}

} // namespace

std::function<QUuid()> SnippetStore::uuidSource = [] { return QUuid::createUuid(); };

SnippetStore::SnippetStore(QString fileURL)
    : m_fileURL(std::move(fileURL))
{
}

bool SnippetStore::sameTrigger(const QString& a, const QString& b)
{
    return a.toLower() == b.toLower();
}

std::optional<std::vector<Snippet>> SnippetStore::decode(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<Snippet> list;
    for (const QJsonValue& element : document.array()) {
        const QJsonObject object = element.toObject();
        const std::optional<QUuid> id = parseId(object.value(idKey));
        const QJsonValue trigger = object.value(triggerKey);
        const QJsonValue body = object.value(bodyKey);
        if (!element.isObject() || !id || !trigger.isString() || !body.isString())
            return std::nullopt;
        list.push_back({*id, trigger.toString(), body.toString()});
    }
    return list;
}

QByteArray SnippetStore::encode(const std::vector<Snippet>& list)
{
    QJsonArray array;
    for (const Snippet& snippet : list)
        array.append(QJsonObject{{idKey, snippet.id.toString(QUuid::WithoutBraces).toUpper()},
                                 {triggerKey, snippet.trigger},
                                 {bodyKey, snippet.body}});
    // "/" escaped as the stored files of this system write it; UTF-8 never
    // holds the byte 0x2F inside another character.
    return QJsonDocument(array).toJson(QJsonDocument::Compact).replace("/", "\\/");
}

const std::vector<Snippet>& SnippetStore::all()
{
    if (m_cache)
        return *m_cache;
    m_cache.emplace();
    QFile file(m_fileURL);
    if (!QFileInfo(m_fileURL).isFile() || !file.open(QIODevice::ReadOnly))
        return *m_cache;
    if (std::optional<std::vector<Snippet>> list = decode(file.readAll())) {
        m_cache = std::move(*list);
        return *m_cache;
    }
    file.close();
    // Kept aside, so that the next save cannot erase the other snippets.
    const QString aside = AtomicFile::moveAside(m_fileURL, platform::platform().clock().now());
    Log::error(
        QStringLiteral("Snippets.json could not be read and was moved to %1; starting with no snippets")
            .arg(aside.isEmpty() ? QStringLiteral("(nowhere)") : aside));
    return *m_cache;
}

void SnippetStore::save(const Snippet& snippet)
{
    std::vector<Snippet> list = all();
    const auto same =
        std::find_if(list.begin(), list.end(), [&](const Snippet& s) { return s.id == snippet.id; });
    if (same != list.end())
        *same = snippet;
    else
        list.push_back(snippet);
    std::erase_if(list, [&](const Snippet& s) {
        return s.id != snippet.id && sameTrigger(s.trigger, snippet.trigger);
    });
    persist(std::move(list));
}

void SnippetStore::remove(const QUuid& id)
{
    std::vector<Snippet> list = all();
    if (std::erase_if(list, [&](const Snippet& s) { return s.id == id; }) > 0)
        persist(std::move(list));
}

QJsonArray SnippetStore::exportEntries()
{
    QJsonArray array;
    for (const Snippet& snippet : all())
        array.append(QJsonObject{{triggerKey, snippet.trigger}, {bodyKey, snippet.body}});
    return array;
}

int SnippetStore::importEntries(const QJsonArray& entries)
{
    std::vector<Snippet> list = all();
    int count = 0;
    for (const QJsonValue& entry : entries) {
        const QJsonObject object = entry.toObject();
        const QJsonValue triggerValue = object.value(triggerKey);
        const QJsonValue body = object.value(bodyKey);
        if (!entry.isObject() || !triggerValue.isString() || !body.isString())
            continue;
        // Colons and white space are both stripped from the front, in any mix,
        // so that an imported trigger imports again as itself.
        QString trigger = triggerValue.toString().trimmed();
        qsizetype front = 0;
        while (front < trigger.size() && (trigger[front] == u':' || trigger[front].isSpace()))
            ++front;
        trigger.remove(0, front);
        if (trigger.isEmpty())
            continue;
        std::erase_if(list, [&](const Snippet& s) { return sameTrigger(s.trigger, trigger); });
        list.push_back({uuidSource(), trigger, body.toString()});
        ++count;
    }
    if (count > 0)
        persist(std::move(list));
    return count;
}

void SnippetStore::persist(std::vector<Snippet> list)
{
    m_cache = std::move(list);
    if (QFileInfo(m_fileURL).absolutePath() == QFileInfo(AppFiles::root()).absoluteFilePath())
        AppFiles::makeRoot();
    QString error;
    if (!AtomicFile::write(m_fileURL, encode(*m_cache), &error))
        Log::error(QStringLiteral("Could not write %1: %2").arg(m_fileURL, error));
}

} // namespace quillon
