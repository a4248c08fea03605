#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <optional>

namespace quillon {

/// One stash on the shelf: a folder of its own holding copies of the stashed
/// files, and the paths they were copied from.
struct ShelfItem {
    QUuid id;
    /// The copies inside the item folder; never empty.
    QList<QUrl> urls;
    /// Where the copies came from, for telling duplicates.
    QStringList origins;

    bool operator==(const ShelfItem& other) const = default;
    /// The only file's name, or "N files".
    QString displayName() const;
};

/// What the user has put on the shelf, kept as one folder per item under
/// `directory()`. Synchronous: every call does its file work on the caller's
/// thread (the main thread).
class ShelfStore {
public:
    struct AddResult {
        /// The item this call created: none or one.
        QList<ShelfItem> added;
        /// Items that already held one of the offered files.
        QSet<QUuid> duplicates;
    };

    /// Touches nothing until the first add.
    explicit ShelfStore(QString directory);

    const QString& directory() const { return m_directory; }
    /// The shelf's content, oldest first.
    const QList<ShelfItem>& items() const { return m_items; }

    /// Replaces the items by what the folder holds, clearing away strays and
    /// what a stash or removal cut short left behind.
    void load();
    /// Stashes the offered files that are not on the shelf yet as one item.
    AddResult add(const QList<QUrl>& urls);
    /// Deletes these items.
    void remove(const QSet<QUuid>& ids);

    /// Called after every add or remove that changed the items.
    std::function<void()> onChange;

    /// Whether load() dates items by their folders' birth times. Off, it
    /// behaves as on a filesystem that keeps none.
    bool readsBirthTimes = true;

    /// The id an item folder name stands for: the 8-4-4-4-12 hex form only,
    /// in any case.
    static std::optional<QUuid> idOfFolderName(const QString& name);
    /// The origins in the text of an ".origins" file.
    static QStringList parseOrigins(const QByteArray& text);
    /// The path a URL stands for: absolute, "." and ".." resolved, links
    /// left as they are.
    static QString standardPath(const QUrl& url);
    /// The name a second file of one name takes: "photo.png" → "photo 2.png",
    /// "README" → "README 2".
    static QString numberedName(const QString& name, int counter);

    static constexpr const char* originsName = ".origins";

private:
    QString m_directory;
    QList<ShelfItem> m_items;
};

} // namespace quillon
