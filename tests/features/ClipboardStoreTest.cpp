#include "features/clipboard/ClipboardStore.h"
#include "fakes/FakePlatform.h"
#include "support/AppFiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace quillon {
namespace {

QStringList textsOf(const std::vector<ClipboardEntry>& list)
{
    QStringList texts;
    for (const ClipboardEntry& entry : list)
        texts << entry.text;
    return texts;
}

std::vector<ClipboardEntry> entriesOf(const QStringList& texts, const QDateTime& at)
{
    std::vector<ClipboardEntry> list;
    for (const QString& text : texts)
        list.push_back({text, at});
    return list;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ClipboardStoreTest : public ::testing::Test {
protected:
    QString historyPath() const { return AppFiles::root() + "/Clipboard.json"; }
    QString pinsPath() const { return AppFiles::root() + "/ClipboardPins.json"; }
    ClipboardStore makeStore() const { return ClipboardStore(historyPath(), pinsPath()); }
    void writeFile(const QString& path, const QByteArray& data)
    {
        QDir().mkpath(AppFiles::root());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QStringList asideFiles() const { return QDir(AppFiles::root()).entryList({"*.corrupt-*"}, QDir::Files); }

    fakes::FakePlatform fake;
};

TEST_F(ClipboardStoreTest, IngestTable)
{
    struct Row {
        const char* name;
        QStringList history;
        QStringList pins;
        bool manual;
        QString text;
        QStringList historyAfter;
        QStringList pinsAfter;
        bool historyWritten;
        bool pinsWritten;
    };
    const QString big(ClipboardStore::maxTextBytes, 'x');
    const QString tooBig = QString(ClipboardStore::maxTextBytes / 2, QChar(0x00e9)) + "x"; // é is two bytes
    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty << QString("t%1").arg(i);
    const Row table[] = {
        {"new text goes first", {"a", "b"}, {}, false, "c", {"c", "a", "b"}, {}, true, false},
        {"same as newest writes nothing", {"a", "b"}, {}, false, "a", {"a", "b"}, {}, false, false},
        {"older text moves up", {"a", "b", "c"}, {}, false, "c", {"c", "a", "b"}, {}, true, false},
        {"spaces are kept", {}, {}, false, "  word  ", {"  word  "}, {}, true, false},
        {"blank ignored", {"a"}, {}, false, " \n\t ", {"a"}, {}, false, false},
        {"empty ignored", {"a"}, {}, false, "", {"a"}, {}, false, false},
        {"100000 bytes kept", {}, {}, false, big, {big}, {}, true, false},
        {"100001 bytes ignored", {}, {}, false, tooBig, {}, {}, false, false},
        {"21st drops the oldest",
         twenty,
         {},
         false,
         "new",
         QStringList{"new"} + twenty.mid(0, 19),
         {},
         true,
         false},
        {"third pin refronts", {"a"}, {"p", "q", "c"}, false, "c", {"c", "a"}, {"c", "p", "q"}, true, true},
        {"refronts even when newest",
         {"c"},
         {"p", "q", "c"},
         false,
         "c",
         {"c"},
         {"c", "p", "q"},
         false,
         true},
        {"manual order stays", {"a"}, {"p", "q", "c"}, true, "c", {"c", "a"}, {"p", "q", "c"}, true, false},
        {"first pin stays", {"a"}, {"c", "q"}, false, "c", {"c", "a"}, {"c", "q"}, true, false},
        {"equivalent text is one entry",
         {QString::fromUtf8("cafe\xcc\x81"), "b"},
         {},
         false,
         QString::fromUtf8("caf\xc3\xa9"),
         {QString::fromUtf8("cafe\xcc\x81"), "b"},
         {},
         false,
         false},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        const QDateTime earlier = fake.queue.now().addSecs(-3600);
        {
            ClipboardStore setup = makeStore();
            setup.pinned = entriesOf(row.pins, earlier);
            setup.pinsManualOrder = row.manual;
            ASSERT_TRUE(setup.write(entriesOf(row.history, earlier), historyPath()));
            ASSERT_TRUE(setup.writePins());
        }
        ClipboardStore store = makeStore();
        store.load();
        QFile::remove(historyPath());
        QFile::remove(pinsPath());
        store.ingest(row.text);
        EXPECT_EQ(textsOf(store.entries), row.historyAfter);
        EXPECT_EQ(textsOf(store.pinned), row.pinsAfter);
        EXPECT_EQ(QFile::exists(historyPath()), row.historyWritten);
        EXPECT_EQ(QFile::exists(pinsPath()), row.pinsWritten);
        // A text seen before keeps its first date; a new one is dated now.
        if (!store.entries.empty()) {
            const bool seen = row.history.contains(store.entries.front().text);
            EXPECT_EQ(store.entries.front().firstCopiedAt, seen ? earlier : fake.queue.now());
        }
        if (row.historyWritten) {
            ClipboardStore reader = makeStore();
            reader.load();
            EXPECT_EQ(reader.entries, store.entries);
        }
    }
}

TEST_F(ClipboardStoreTest, OrderedListsAndMoves)
{
    ClipboardStore store = makeStore();
    const QDateTime at = fake.queue.now();
    store.entries = entriesOf({"A", "B", "C"}, at);
    store.pinned = entriesOf({"B", "D"}, at);
    EXPECT_EQ(textsOf(store.pickerOrdered()), QStringList({"A", "B", "D", "C"}));
    EXPECT_EQ(textsOf(store.ordered()), QStringList({"B", "D", "A", "C"}));
    store.entries.clear();
    EXPECT_EQ(textsOf(store.pickerOrdered()), QStringList({"B", "D"}));

    struct Move {
        std::set<int> from;
        int to;
        std::vector<char> result;
    };
    const std::vector<char> list{'a', 'b', 'c', 'd'};
    const Move moves[] = {
        {{0}, 3, {'b', 'c', 'a', 'd'}},
        {{1, 2}, 0, {'b', 'c', 'a', 'd'}},
        {{0}, 4, {'b', 'c', 'd', 'a'}},
        {{0, 9, -1}, 2, {'b', 'a', 'c', 'd'}}, // offsets outside the list are ignored
        {{3}, 99, {'a', 'b', 'c', 'd'}},       // the target is clamped
        {{3}, -5, {'d', 'a', 'b', 'c'}},
    };
    for (const Move& move : moves)
        EXPECT_EQ(ClipboardStore::moved(list, move.from, move.to), move.result);
}

TEST_F(ClipboardStoreTest, SetPinnedWritesPinsAndResetsManualOrder)
{
    ClipboardStore store = makeStore();
    store.load();
    const ClipboardEntry a{"a", fake.queue.now()};
    const ClipboardEntry b{"b", fake.queue.now().addSecs(5)};
    store.setPinned(a, true);
    store.setPinned(b, true);
    store.setPinned(a, true); // pinned again: moves to the front
    EXPECT_EQ(textsOf(store.pinned), QStringList({"a", "b"}));
    store.pinsManualOrder = true;
    store.setPinned(a, false);
    EXPECT_TRUE(store.pinsManualOrder);
    store.setPinned(b, false);
    EXPECT_FALSE(store.pinsManualOrder);
    EXPECT_EQ(readAll(pinsPath()), QByteArray(R"({"manualOrder":false,"pins":[]})"));
    EXPECT_TRUE(store.entries.empty()); // pinning leaves the history alone
}

TEST_F(ClipboardStoreTest, FilesAsWrittenAndRead)
{
    ClipboardStore store = makeStore();
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(978307200000LL + 1500, Qt::UTC);
    ASSERT_TRUE(store.write({{"a/b", at}}, historyPath()));
    EXPECT_EQ(readAll(historyPath()), QByteArray(R"([{"firstCopiedAt":1.5,"text":"a\/b"}])"));
    EXPECT_EQ(QFile(AppFiles::root()).permissions() & QFileDevice::ReadOther, 0);

    // Unescaped slashes, other keys and any key order are read; extra entries cut.
    QByteArray history = "[";
    for (int i = 0; i < 25; ++i)
        history += QByteArray(i ? "," : "") + R"({"x":1,"firstCopiedAt":)" + QByteArray::number(i) +
                   R"(,"text":"e/)" + QByteArray::number(i) + "\"}";
    writeFile(historyPath(), history + "]");
    writeFile(pinsPath(), R"([{"text":"old","firstCopiedAt":0}])"); // the older form
    store.load();
    ASSERT_EQ(store.entries.size(), 20u);
    EXPECT_EQ(store.entries[19].text, "e/19");
    EXPECT_EQ(store.entries[1].firstCopiedAt, QDateTime(QDate(2001, 1, 1), QTime(0, 0, 1), Qt::UTC));
    EXPECT_EQ(textsOf(store.pinned), QStringList{"old"});
    EXPECT_FALSE(store.pinsManualOrder);
    EXPECT_TRUE(asideFiles().isEmpty());

    // The next pin write replaces the older form with the current one.
    store.setPinned({"new", at}, true);
    EXPECT_TRUE(readAll(pinsPath()).startsWith(R"({"manualOrder":false,"pins":[{)"));
}

TEST_F(ClipboardStoreTest, DamagedFilesAreMovedAsideAndReadEmpty)
{
    const QByteArray good = R"([{"text":"a","firstCopiedAt":1}])";
    struct Row {
        const char* name;
        QByteArray history;
        QByteArray pins;
        int history_count;
        int pins_count;
        int aside;
    };
    const Row table[] = {
        {"not json", "{[", "nope", 0, 0, 2},
        {"wrong member types", R"([{"text":1,"firstCopiedAt":1}])", R"({"pins":[],"manualOrder":"yes"})", 0,
         0, 2},
        {"missing key", R"([{"text":"a"}])", R"({"pins":[{"text":"a","firstCopiedAt":1}]})", 0, 0, 2},
        {"one bad element", R"([{"text":"a","firstCopiedAt":1},3])", good, 0, 1, 1},
        {"empty file", "", good, 0, 1, 1},
        {"both good", good, R"({"pins":[{"text":"a","firstCopiedAt":1}],"manualOrder":true})", 1, 1, 0},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QDir(AppFiles::root()).removeRecursively();
        writeFile(historyPath(), row.history);
        writeFile(pinsPath(), row.pins);
        ClipboardStore store = makeStore();
        store.load();
        EXPECT_EQ(int(store.entries.size()), row.history_count);
        EXPECT_EQ(int(store.pinned.size()), row.pins_count);
        EXPECT_EQ(asideFiles().size(), row.aside);
        if (row.aside) {
            EXPECT_TRUE(fake.log.contains("moved"));
        }
    }
}

TEST_F(ClipboardStoreTest, NeverLoadedStoreKeepsFilesOnIngestAndPin)
{
    writeFile(historyPath(), R"([{"text":"kept","firstCopiedAt":1}])");
    writeFile(pinsPath(), R"({"pins":[{"text":"pin","firstCopiedAt":1}],"manualOrder":true})");
    ClipboardStore store = makeStore();
    store.ingest("new");
    store.setPinned({"other", fake.queue.now()}, true);
    ClipboardStore reader = makeStore();
    reader.load();
    EXPECT_EQ(textsOf(reader.entries), QStringList({"new", "kept"}));
    EXPECT_EQ(textsOf(reader.pinned), QStringList({"other", "pin"}));
    EXPECT_TRUE(reader.pinsManualOrder);
}

TEST_F(ClipboardStoreTest, FailedWriteIsLoggedAndKeptInMemory)
{
    QDir().mkpath(historyPath()); // a folder where the file should be
    ClipboardStore store = makeStore();
    store.load();
    EXPECT_FALSE(store.write({{"a", fake.queue.now()}}, historyPath()));
    store.ingest("b");
    fake.queue.drain();
    EXPECT_EQ(textsOf(store.entries), QStringList{"b"});
    EXPECT_TRUE(fake.log.contains("Could not write"));
}

TEST(ClipboardStore, Preview)
{
    const QString flag =
        QString::fromUtf8("\xf0\x9f\x87\xa9\xf0\x9f\x87\xaa"); // one grapheme, four UTF-16 units
    struct Row {
        QString text;
        int limit;
        QString preview;
    };
    const QString ellipsis(QChar(0x2026));
    const QString zalgo = "e" + QString(40, QChar(0x0301)); // one cluster of 41 units
    const QString url = "https://" + QString("abcdefghij").repeated(5);
    const Row table[] = {
        {"\n\n   two   words  \nmore\nlines", 34, "two words"},
        {QString("x").repeated(40), 34, QString("x").repeated(33) + ellipsis},
        {QString("x").repeated(34), 34, QString("x").repeated(34)},
        {url, 34, url.left(16) + ellipsis + url.right(16)},
        {"first\r\nsecond", 34, "first"},
        {"\r\n\r\nthird\rfourth", 34, "third"},
        {"\t\u00a0 tabbed \u3000", 34, "tabbed"},
        {"", 34, ""},
        {" \n ", 34, ""},
        {flag.repeated(5), 3, flag.repeated(2) + ellipsis},
        {flag.repeated(3), 3, flag.repeated(3)},
        // Long lines: clusters of many code units at either end.
        {flag.repeated(3000), 34, flag.repeated(33) + ellipsis},
        {"https://" + zalgo.repeated(40), 34, "https://" + zalgo.repeated(8) + ellipsis + zalgo.repeated(16)},
    };
    for (const Row& row : table)
        EXPECT_EQ(ClipboardStore::preview(row.text, row.limit), row.preview) << row.text.toStdString();
}

} // namespace
} // namespace quillon
