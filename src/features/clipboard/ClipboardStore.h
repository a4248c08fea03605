#pragma once

#include <QDateTime>
#include <QJsonValue>
#include <QString>
#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace quillon {

namespace platform {
class SerialQueue;
}

/// One clipboard-history entry.
struct ClipboardEntry {
    /// The text exactly as it was captured, surrounding whitespace included.
    QString text;
    /// When the text was first copied; kept when it is copied again.
    QDateTime firstCopiedAt;

    bool operator==(const ClipboardEntry&) const = default;
};

/// The clipboard history (newest first) and the pinned texts, each at most
/// 20, kept in "Clipboard.json" and "ClipboardPins.json".
///
/// Nothing is read until `load()`. Operations that change a list change it at
/// once and hand the file write to a background queue, in order; the public
/// `write` and `writePins` wait for that queue and write before they return.
class ClipboardStore {
public:
    /// Texts longer than this many UTF-8 bytes are not kept.
    static constexpr qsizetype maxTextBytes = 100'000;
    /// The most entries kept in the history and in the pins.
    static constexpr std::size_t maxEntries = 20;

    ClipboardStore(QString fileURL, QString pinsURL);
    ~ClipboardStore();
    ClipboardStore(const ClipboardStore&) = delete;
    ClipboardStore& operator=(const ClipboardStore&) = delete;

    const QString& fileURL() const { return m_fileURL; }
    const QString& pinsURL() const { return m_pinsURL; }

    /// The history, newest first.
    std::vector<ClipboardEntry> entries;
    /// The pins, in display order.
    std::vector<ClipboardEntry> pinned;
    /// True once the pins were reordered by hand: no pin then moves to the
    /// front by itself. False whenever there is no pin.
    bool pinsManualOrder = false;

    /// Reads both files. A missing file gives an empty list; a file that
    /// decodes as none of its forms is moved aside, logged, and also gives
    /// an empty list.
    void load();

    /// The pins, then the history entries that are not pinned.
    std::vector<ClipboardEntry> ordered() const;
    /// The paste menu's list: the newest history entry, the pins, then the
    /// history, each text once.
    std::vector<ClipboardEntry> pickerOrdered() const;

    /// Pins the entry at the front (moving it there when pinned already), or
    /// unpins its text; writes the pins file.
    void setPinned(const ClipboardEntry& entry, bool isPinned);
    /// Adds a captured text to the history, moving a pin of that text to the
    /// front unless the pins are in a manual order. Blank texts and texts
    /// over `maxTextBytes` are ignored. Answers whether the history changed.
    bool ingest(const QString& text);

    /// Writes entries to `path` and answers whether the file was written.
    /// Waits for every queued write first, so none of them lands after it.
    bool write(const std::vector<ClipboardEntry>& list, const QString& path);
    /// Writes `pinned` and `pinsManualOrder` to the pins file, at once.
    bool writePins();
    /// Loads both files when `load()` never ran, so that a change made on a
    /// store nobody loaded keeps what is on disk.
    void loadIfNeeded();

    /// The list with the elements at `offsets` moved as one block into the
    /// gap before the element that had index `toOffset`. Offsets outside
    /// the list are ignored; `toOffset` is clamped into the list.
    template <typename T>
    static std::vector<T> moved(const std::vector<T>& list, const std::set<int>& offsets, int toOffset);

    /// A one-line preview of at most `limit` characters (grapheme clusters):
    /// the first non-blank line, trimmed, runs of spaces made one; a long
    /// web address keeps its head and tail.
    static QString preview(const QString& text, int limit);

    /// Whether two texts are the same clipboard text: canonically equivalent
    /// Unicode strings are.
    static bool sameText(const QString& a, const QString& b);

    /// The bytes of a list as stored: compact JSON, "/" escaped.
    static QByteArray encode(const std::vector<ClipboardEntry>& list);
    static QByteArray encodePins(const std::vector<ClipboardEntry>& pins, bool manualOrder);
    /// A history document; none when it is not an array of entries.
    static std::optional<std::vector<ClipboardEntry>> decode(const QByteArray& data);
    /// A pins document in either form; none when it is neither.
    static std::optional<std::pair<std::vector<ClipboardEntry>, bool>> decodePins(const QByteArray& data);

private:
    void refrontPinIfNeeded(const QString& text);
    void queueWrite(const QString& path, QByteArray data);
    void drainQueue();

    struct Pending;
    QString m_fileURL;
    QString m_pinsURL;
    bool m_loaded = false;
    std::unique_ptr<platform::SerialQueue> m_queue;
    std::shared_ptr<Pending> m_pending;
};

template <typename T>
std::vector<T> ClipboardStore::moved(const std::vector<T>& list, const std::set<int>& offsets, int toOffset)
{
    const int count = int(list.size());
    std::vector<T> block;
    std::vector<T> rest;
    int before = 0;
    for (int i = 0; i < count; ++i) {
        if (offsets.count(i)) {
            block.push_back(list[std::size_t(i)]);
            if (i < toOffset)
                ++before;
        } else {
            rest.push_back(list[std::size_t(i)]);
        }
    }
    const int at = std::clamp(toOffset - before, 0, int(rest.size()));
    rest.insert(rest.begin() + at, block.begin(), block.end());
    return rest;
}

} // namespace quillon
