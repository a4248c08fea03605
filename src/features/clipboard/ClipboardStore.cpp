#include "features/clipboard/ClipboardStore.h"

#include "platform/Platform.h"
#include "platform/Tasks.h"
#include "support/AppFiles.h"
#include "support/AtomicFile.h"
#include "support/Log.h"
#include "support/TextPreview.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace quillon {

namespace {

// Dates are stored as seconds since 2001-01-01 00:00 UTC.
constexpr double referenceOffset = 978307200.0;
// Beyond this many seconds from the reference a date is damage, not a date,
// and milliseconds would no longer survive the trip through a double.
constexpr double largestSeconds = 1e11;

QJsonValue encodeDate(const QDateTime& date)
{
    return double(date.toMSecsSinceEpoch()) / 1000.0 - referenceOffset;
}

std::optional<QDateTime> decodeDate(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double seconds = value.toDouble();
    if (!std::isfinite(seconds) || std::abs(seconds) > largestSeconds)
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(std::llround((seconds + referenceOffset) * 1000.0), Qt::UTC);
}

QJsonArray encodeEntries(const std::vector<ClipboardEntry>& list)
{
    QJsonArray array;
    for (const ClipboardEntry& entry : list)
        array.append(QJsonObject{{QStringLiteral("text"), entry.text},
                                 {QStringLiteral("firstCopiedAt"), encodeDate(entry.firstCopiedAt)}});
    return array;
}

std::optional<std::vector<ClipboardEntry>> decodeEntries(const QJsonValue& value)
{
    if (!value.isArray())
        return std::nullopt;
    std::vector<ClipboardEntry> list;
    for (const QJsonValue& element : value.toArray()) {
        if (!element.isObject())
            return std::nullopt;
        const QJsonObject object = element.toObject();
        const QJsonValue text = object.value(QStringLiteral("text"));
        const std::optional<QDateTime> date = decodeDate(object.value(QStringLiteral("firstCopiedAt")));
        if (!text.isString() || !date)
            return std::nullopt;
        list.push_back({text.toString(), *date});
    }
    return list;
}

// Readers of the files accept "/" escaped or not; writers escape it. Inside
// UTF-8 the byte 0x2F is always a slash, and JSON has slashes only in strings.
QByteArray escapeSlashes(QByteArray json)
{
    return json.replace("/", "\\/");
}

void cap(std::vector<ClipboardEntry>& list)
{
    if (list.size() > ClipboardStore::maxEntries)
        list.resize(ClipboardStore::maxEntries);
}

// The content of a file; none when there is no file to read. Only content
// that was read and is damaged gets moved aside.
std::optional<QByteArray> readFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void setAside(const QString& path)
{
    const QString aside = AtomicFile::moveAside(path, platform::platform().clock().now());
    Log::error(QStringLiteral("%1 could not be read and was moved to %2; starting empty")
                   .arg(QFileInfo(path).fileName(), aside.isEmpty() ? QStringLiteral("(nowhere)") : aside));
}

// The data folder is made readable by its owner only; AtomicFile makes any
// other folder.
void makeFolderFor(const QString& path)
{
    if (QFileInfo(path).absolutePath() == QFileInfo(AppFiles::root()).absoluteFilePath())
        AppFiles::makeRoot();
}

bool isBlank(const QString& text)
{
    for (QChar c : text)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace

struct ClipboardStore::Pending {
    std::mutex mutex;
    std::condition_variable idle;
    int count = 0;
};

ClipboardStore::ClipboardStore(QString fileURL, QString pinsURL)
    : m_fileURL(std::move(fileURL))
    , m_pinsURL(std::move(pinsURL))
    , m_pending(std::make_shared<Pending>())
{
}

ClipboardStore::~ClipboardStore()
{
    drainQueue();
}

bool ClipboardStore::sameText(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

QByteArray ClipboardStore::encode(const std::vector<ClipboardEntry>& list)
{
    return escapeSlashes(QJsonDocument(encodeEntries(list)).toJson(QJsonDocument::Compact));
}

QByteArray ClipboardStore::encodePins(const std::vector<ClipboardEntry>& pins, bool manualOrder)
{
    const QJsonObject document{{QStringLiteral("pins"), encodeEntries(pins)},
                               {QStringLiteral("manualOrder"), manualOrder}};
    return escapeSlashes(QJsonDocument(document).toJson(QJsonDocument::Compact));
}

std::optional<std::vector<ClipboardEntry>> ClipboardStore::decode(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return decodeEntries(document.isArray() ? QJsonValue(document.array()) : QJsonValue());
}

std::optional<std::pair<std::vector<ClipboardEntry>, bool>> ClipboardStore::decodePins(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    if (document.isArray()) {
        if (auto pins = decodeEntries(document.array()))
            return std::pair{std::move(*pins), false};
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const QJsonValue manual = object.value(QStringLiteral("manualOrder"));
    auto pins = decodeEntries(object.value(QStringLiteral("pins")));
    if (!pins || !manual.isBool())
        return std::nullopt;
    return std::pair{std::move(*pins), manual.toBool()};
}

void ClipboardStore::load()
{
    drainQueue();
    m_loaded = true;
    entries.clear();
    pinned.clear();
    pinsManualOrder = false;

    if (const std::optional<QByteArray> data = readFile(m_fileURL)) {
        if (auto list = decode(*data))
            entries = std::move(*list);
        else
            setAside(m_fileURL);
    }
    if (const std::optional<QByteArray> data = readFile(m_pinsURL)) {
        if (auto pins = decodePins(*data)) {
            pinned = std::move(pins->first);
            pinsManualOrder = pins->second;
        } else {
            setAside(m_pinsURL);
        }
    }
    cap(entries);
    cap(pinned);
    if (pinned.empty())
        pinsManualOrder = false;
}

void ClipboardStore::loadIfNeeded()
{
    if (!m_loaded)
        load();
}

std::vector<ClipboardEntry> ClipboardStore::ordered() const
{
    std::vector<ClipboardEntry> list = pinned;
    for (const ClipboardEntry& entry : entries) {
        const bool isPinned = std::any_of(pinned.begin(), pinned.end(), [&](const ClipboardEntry& pin) {
            return sameText(pin.text, entry.text);
        });
        if (!isPinned)
            list.push_back(entry);
    }
    return list;
}

std::vector<ClipboardEntry> ClipboardStore::pickerOrdered() const
{
    std::vector<ClipboardEntry> candidates;
    if (!entries.empty())
        candidates.push_back(entries.front());
    candidates.insert(candidates.end(), pinned.begin(), pinned.end());
    candidates.insert(candidates.end(), entries.begin(), entries.end());
    std::vector<ClipboardEntry> list;
    for (const ClipboardEntry& entry : candidates) {
        const bool seen = std::any_of(list.begin(), list.end(), [&](const ClipboardEntry& kept) {
            return sameText(kept.text, entry.text);
        });
        if (!seen)
            list.push_back(entry);
    }
    return list;
}

void ClipboardStore::setPinned(const ClipboardEntry& entry, bool isPinned)
{
    loadIfNeeded();
    std::erase_if(pinned, [&](const ClipboardEntry& pin) { return sameText(pin.text, entry.text); });
    if (isPinned)
        pinned.insert(pinned.begin(), entry);
    cap(pinned);
    if (pinned.empty())
        pinsManualOrder = false;
    queueWrite(m_pinsURL, encodePins(pinned, pinsManualOrder));
}

bool ClipboardStore::ingest(const QString& text)
{
    if (isBlank(text) || text.toUtf8().size() > maxTextBytes)
        return false;
    loadIfNeeded();
    refrontPinIfNeeded(text);
    if (!entries.empty() && sameText(entries.front().text, text))
        return false;
    const QString normal = text.normalized(QString::NormalizationForm_C);
    const auto same = [&](const ClipboardEntry& entry) {
        return entry.text == text || entry.text.normalized(QString::NormalizationForm_C) == normal;
    };
    const auto earlier = std::find_if(entries.begin(), entries.end(), same);
    const QDateTime firstCopiedAt =
        earlier != entries.end() ? earlier->firstCopiedAt : platform::platform().clock().now();
    std::erase_if(entries, same);
    entries.insert(entries.begin(), ClipboardEntry{text, firstCopiedAt});
    cap(entries);
    queueWrite(m_fileURL, encode(entries));
    return true;
}

void ClipboardStore::refrontPinIfNeeded(const QString& text)
{
    if (pinsManualOrder)
        return;
    const auto pin = std::find_if(pinned.begin(), pinned.end(),
                                  [&](const ClipboardEntry& entry) { return sameText(entry.text, text); });
    if (pin == pinned.end() || pin == pinned.begin())
        return;
    std::rotate(pinned.begin(), pin, pin + 1);
    queueWrite(m_pinsURL, encodePins(pinned, pinsManualOrder));
}

bool ClipboardStore::write(const std::vector<ClipboardEntry>& list, const QString& path)
{
    drainQueue();
    makeFolderFor(path);
    QString error;
    if (AtomicFile::write(path, encode(list), &error))
        return true;
    Log::error(QStringLiteral("Could not write %1: %2").arg(path, error));
    return false;
}

bool ClipboardStore::writePins()
{
    drainQueue();
    makeFolderFor(m_pinsURL);
    QString error;
    if (AtomicFile::write(m_pinsURL, encodePins(pinned, pinsManualOrder), &error))
        return true;
    Log::error(QStringLiteral("Could not write %1: %2").arg(m_pinsURL, error));
    return false;
}

void ClipboardStore::queueWrite(const QString& path, QByteArray data)
{
    if (!m_queue)
        m_queue = platform::platform().tasks().makeSerial();
    makeFolderFor(path);
    {
        std::lock_guard lock(m_pending->mutex);
        ++m_pending->count;
    }
    auto error = std::make_shared<QString>();
    m_queue->run(
        [pending = m_pending, path, data = std::move(data), error] {
            if (!AtomicFile::write(path, data, error.get()) && error->isEmpty())
                *error = QStringLiteral("unknown error");
            std::lock_guard lock(pending->mutex);
            --pending->count;
            pending->idle.notify_all();
        },
        [path, error] {
            if (!error->isEmpty())
                Log::error(QStringLiteral("Could not write %1: %2").arg(path, *error));
        });
}

void ClipboardStore::drainQueue()
{
    std::unique_lock lock(m_pending->mutex);
    m_pending->idle.wait(lock, [this] { return m_pending->count == 0; });
}

QString ClipboardStore::preview(const QString& text, int limit)
{
    QString line = TextPreview::firstLine(text);
    // Runs of spaces become one space, in one pass: the line may be 100,000
    // bytes and nine previews are made per frame.
    QString collapsed;
    collapsed.reserve(line.size());
    for (QChar c : std::as_const(line)) {
        if (c == u' ' && (collapsed.isEmpty() || collapsed.back() == u' '))
            continue;
        collapsed += c;
    }
    if (collapsed.endsWith(u' '))
        collapsed.chop(1);
    line = std::move(collapsed);

    const std::optional<qsizetype> end = TextPreview::afterGraphemes(line, limit);
    if (!end || *end >= line.size())
        return line;
    if (line.startsWith(QLatin1String("http://")) || line.startsWith(QLatin1String("https://"))) {
        const int half = std::max(limit / 2 - 1, 0);
        return line.left(TextPreview::afterGraphemes(line, half).value_or(0)) + QChar(0x2026) +
               line.mid(TextPreview::lastGraphemes(line, half));
    }
    return TextPreview::truncated(line, limit);
}

} // namespace quillon
