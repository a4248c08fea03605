// Writes one stored file in a loop through the product's own store code, for
// the test that kills it at random moments. After each write call returns it
// prints the sequence number that write carried ("ack N"), so whatever the
// test reads from the pipe was acknowledged before the kill.
//
//   quillon-test-durability <file> <folder> <first sequence number>
//
// <file> names one writer of the table below; each writes a document whose
// every part carries the sequence number, so a torn write shows as parts
// that disagree. Adding a stored file is one writer here and one row in
// tests/durability/DurabilityTest.cpp.

#include "fakes/FakePlatform.h"
#include "features/clipboard/ClipboardStore.h"
#include "features/snippets/SnippetStore.h"
#include "platform/PlistValue.h"
#include "platform/linux/JsonUserDefaults.h"
#include "shelf/ShelfStore.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

using namespace quillon;
using platform::PlistValue;

namespace {

// The values one settings write carries: a sequence number and enough
// settings beside it that the write takes a while.
QMap<QString, PlistValue> settingsDocument(qint64 sequence)
{
    QMap<QString, PlistValue> values;
    values.insert(QStringLiteral("durability.sequence"), sequence);
    for (int i = 0; i < 64; ++i)
        values.insert(QStringLiteral("durability.part%1").arg(i, 2, 10, QLatin1Char('0')),
                      QStringLiteral("%1:").arg(sequence).leftJustified(96, QLatin1Char('x')));
    return values;
}

using Writer = std::function<void(qint64 sequence)>;

// A settings domain file, written as every settings change writes it.
Writer settingsDomain(const QString& folder, const QString& suite)
{
    auto defaults =
        std::make_shared<platform::linux_::JsonUserDefaults>(folder, QStringLiteral("app.quillon.Quillon"));
    platform::DefaultsStore* store = suite.isEmpty() ? &defaults->standard() : defaults->suite(suite);
    return [defaults, store](qint64 sequence) { store->setValues(settingsDocument(sequence)); };
}

// The text of one part of a document: the sequence number first, then
// enough to make the write take a while.
QString partText(qint64 sequence, int part)
{
    return QStringLiteral("%1:%2:").arg(sequence).arg(part).leftJustified(160, QLatin1Char('x'));
}

// The stores below find their app folder through the platform; the files
// themselves go to the folder the test gives.
std::shared_ptr<fakes::FakePlatform> storePlatform()
{
    static auto fake = std::make_shared<fakes::FakePlatform>();
    return fake;
}

// The clipboard history (or the pins), a whole list of entries each write,
// as a change made by hand writes it.
Writer clipboardFile(const QString& folder, bool pins)
{
    auto fake = storePlatform();
    auto store = std::make_shared<ClipboardStore>(folder + QStringLiteral("/Clipboard.json"),
                                                  folder + QStringLiteral("/ClipboardPins.json"));
    return [fake, store, pins](qint64 sequence) {
        std::vector<ClipboardEntry> list;
        for (int i = 0; i < int(ClipboardStore::maxEntries); ++i)
            list.push_back({partText(sequence, i), QDateTime::fromMSecsSinceEpoch(sequence * 1000, Qt::UTC)});
        if (pins) {
            store->pinned = std::move(list);
            store->pinsManualOrder = true;
            store->writePins();
        } else {
            store->write(list, store->fileURL());
        }
    };
}

// The snippets: every write replaces the body of each of 64 triggers, as an
// import does.
Writer snippetsFile(const QString& folder)
{
    auto fake = storePlatform();
    auto store = std::make_shared<SnippetStore>(folder + QStringLiteral("/Snippets.json"));
    return [fake, store](qint64 sequence) {
        QJsonArray entries;
        for (int i = 0; i < 64; ++i)
            entries.append(QJsonObject{{QStringLiteral("trigger"), QStringLiteral("d%1").arg(i)},
                                       {QStringLiteral("body"), partText(sequence, i)}});
        store->importEntries(entries);
    };
}

// The shelf folder "Shelf": each write stashes two files carrying the
// sequence (made in "sources" beside it) as a new item, then removes the
// items before it, as a person adds and clears stashes.
Writer shelfFolder(const QString& folder)
{
    auto fake = storePlatform();
    auto store = std::make_shared<ShelfStore>(folder + QStringLiteral("/Shelf"));
    store->load();
    const QString sources = folder + QStringLiteral("/sources");
    return [fake, store, sources](qint64 sequence) {
        QDir(sources).removeRecursively();
        const QString made = sources + QStringLiteral("/s%1").arg(sequence);
        QDir().mkpath(made);
        QList<QUrl> urls;
        for (int i = 0; i < 2; ++i) {
            const QString path = made + QStringLiteral("/part%1.txt").arg(i);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                std::abort();
            for (int line = 0; line < 64; ++line)
                file.write(partText(sequence, i).toUtf8() + '\n');
            urls.push_back(QUrl::fromLocalFile(path));
        }
        const ShelfStore::AddResult result = store->add(urls);
        if (result.added.size() != 1)
            std::abort();
        QSet<QUuid> older;
        for (const ShelfItem& item : store->items())
            if (item.id != result.added.front().id)
                older.insert(item.id);
        store->remove(older);
    };
}

struct WriterRow {
    const char* file;
    std::function<Writer(const QString& folder)> open;
};

const WriterRow writers[] = {
    {"settings", [](const QString& folder) { return settingsDomain(folder, {}); }},
    {"settings-profile2",
     [](const QString& folder) {
         return settingsDomain(folder, QStringLiteral("app.quillon.Quillon.profile2"));
     }},
    {"clipboard", [](const QString& folder) { return clipboardFile(folder, false); }},
    {"clipboard-pins", [](const QString& folder) { return clipboardFile(folder, true); }},
    {"snippets", [](const QString& folder) { return snippetsFile(folder); }},
    {"shelf", [](const QString& folder) { return shelfFolder(folder); }},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillon-test-durability <file> <folder> <first>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    qint64 sequence = std::strtoll(argv[3], nullptr, 10);
    for (const WriterRow& row : writers) {
        if (std::strcmp(row.file, argv[1]) != 0)
            continue;
        const Writer write = row.open(folder);
        std::printf("ready\n");
        std::fflush(stdout);
        for (;; ++sequence) {
            write(sequence);
            std::printf("ack %lld\n", static_cast<long long>(sequence));
            std::fflush(stdout);
        }
    }
    std::fprintf(stderr, "quillon-test-durability: no writer for \"%s\"\n", argv[1]);
    return 2;
}
