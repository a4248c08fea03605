#include "features/snippets/SnippetStore.h"
#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "support/AppFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace quillon {
namespace {

QStringList triggersOf(const std::vector<Snippet>& list)
{
    QStringList triggers;
    for (const Snippet& snippet : list)
        triggers << snippet.trigger;
    return triggers;
}

class SnippetStoreTest : public ::testing::Test {
protected:
    QString path() const { return AppFiles::root() + "/Snippets.json"; }
    void writeFile(const QByteArray& data)
    {
        QDir().mkpath(AppFiles::root());
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    QByteArray readFile() const
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    Snippet make(const QString& trigger, const QString& body = "b") const
    {
        return {QUuid::createUuid(), trigger, body};
    }

    fakes::FakePlatform fake;
    SnippetStore store{AppFiles::root() + "/Snippets.json"};
};

TEST_F(SnippetStoreTest, SaveAppendsReplacesAndDropsTriggerClashes)
{
    const Snippet sig = make("sig");
    const Snippet addr = make("addr");
    store.save(sig);
    store.save(addr);
    store.save(make("Mail"));
    EXPECT_EQ(triggersOf(store.all()), QStringList({"sig", "addr", "Mail"}));
    // Saved again under a clashing trigger: keeps its place, the clash goes.
    store.save({sig.id, "MAIL", "new body"});
    EXPECT_EQ(triggersOf(store.all()), QStringList({"MAIL", "addr"}));
    EXPECT_EQ(store.all()[0].body, "new body");

    SnippetStore reader(path());
    EXPECT_EQ(reader.all(), store.all());
    const QByteArray bytes = readFile();
    EXPECT_TRUE(bytes.startsWith("[{"));
    EXPECT_TRUE(bytes.contains(sig.id.toString(QUuid::WithoutBraces).toUpper().toUtf8()));
    EXPECT_EQ(QFile(AppFiles::root()).permissions() & QFileDevice::ReadOther, 0);

    store.save({QUuid::createUuid(), "x", "a/b"});
    EXPECT_TRUE(readFile().contains(R"("a\/b")"));
}

TEST_F(SnippetStoreTest, RemovingAnUnknownIdLeavesTheFileUntouched)
{
    const Snippet sig = make("sig");
    store.save(sig);
    const QDateTime written = QFileInfo(path()).lastModified();
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(written.addSecs(-100), QFileDevice::FileModificationTime);
    }
    const QDateTime before = QFileInfo(path()).lastModified();
    store.remove(QUuid::createUuid());
    EXPECT_EQ(QFileInfo(path()).lastModified(), before);
    store.remove(sig.id);
    EXPECT_NE(QFileInfo(path()).lastModified(), before);
    EXPECT_EQ(readFile(), "[]");
}

TEST_F(SnippetStoreTest, ImportTable)
{
    struct Row {
        const char* name;
        QJsonArray entries;
        int count;
        QStringList triggers;
        bool written;
    };
    const Row table[] = {
        {"cleaned trigger",
         {QJsonObject{{"trigger", "  ::addr "}, {"body", "Main St"}}},
         1,
         {"sig", "addr"},
         true},
        {"nothing usable",
         {QJsonObject{{"trigger", ":::"}, {"body", "x"}}, QJsonObject{{"trigger", "nobody"}}, "bare string",
          QJsonObject{{"trigger", 3}, {"body", "x"}}, QJsonArray{}},
         0,
         {"sig"},
         false},
        {"clash moves to the end",
         {QJsonObject{{"trigger", "SIG"}, {"body", "new"}}, QJsonObject{{"trigger", "a"}, {"body", ""}}},
         2,
         {"SIG", "a"},
         true},
        {"colons and spaces mixed",
         {QJsonObject{{"trigger", " : :x y"}, {"body", "b"}}},
         1,
         {"sig", "x y"},
         true},
        {"later entry of a trigger wins",
         {QJsonObject{{"trigger", "z"}, {"body", "1"}}, QJsonObject{{"trigger", "Z"}, {"body", "2"}}},
         2,
         {"sig", "Z"},
         true},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.name);
        QDir(AppFiles::root()).removeRecursively();
        store.dropCache();
        const Snippet sig = make("sig");
        store.save(sig);
        QFile::remove(path());
        EXPECT_EQ(store.importEntries(row.entries), row.count);
        EXPECT_EQ(triggersOf(store.all()), row.triggers);
        EXPECT_EQ(QFile::exists(path()), row.written);
        if (row.count > 0) {
            EXPECT_NE(store.all().back().id, sig.id); // a fresh id
        }
    }
}

TEST_F(SnippetStoreTest, BadFileReadsEmptyAndIsMovedAside)
{
    const QByteArray table[] = {
        R"([{"id":"6F1C2B1E-2D1A-4C59-9B0C-1C2D3E4F5A6B","trigger":"a","body":"b"},{"id":"6F1C2B1E-2D1A-4C59-9B0C-1C2D3E4F5A6C","trigger":"c"}])",
        R"([{"id":"not a uuid","trigger":"a","body":"b"}])",
        R"({"id":"x"})",
        "[",
    };
    for (const QByteArray& data : table) {
        SCOPED_TRACE(data.toStdString());
        QDir(AppFiles::root()).removeRecursively();
        writeFile(data);
        SnippetStore reader(path());
        EXPECT_TRUE(reader.all().empty());
        EXPECT_FALSE(QFile::exists(path()));
        EXPECT_EQ(QDir(AppFiles::root()).entryList({"Snippets.json.corrupt-*"}).size(), 1);
    }
    // Members in any order and extra members are read.
    writeFile(R"([{"body":"b\/c","x":1,"trigger":"t","id":"6F1C2B1E-2D1A-4C59-9B0C-1C2D3E4F5A6B"}])");
    SnippetStore reader(path());
    ASSERT_EQ(reader.all().size(), 1u);
    EXPECT_EQ(reader.all()[0].body, "b/c");
    EXPECT_EQ(reader.all()[0].id, QUuid::fromString(QStringLiteral("6f1c2b1e-2d1a-4c59-9b0c-1c2d3e4f5a6b")));
}

TEST_F(SnippetStoreTest, ExportThroughSettingsImportsIntoAFreshStoreWithNewIds)
{
    EXPECT_TRUE(store.exportEntries().isEmpty());
    store.save(make("sig", "Best regards"));
    store.save(make("addr", "1 Main St"));
    fakes::FakeUserDefaults database;
    Settings settings(database, QStringLiteral("app.quillon.Quillon"));
    const QString document = settings.exportJSON({{"snippets", store.exportEntries()}});
    EXPECT_FALSE(document.contains("\"id\""));

    SnippetStore fresh(AppFiles::root() + "/Other.json");
    const std::optional<QJsonArray> section = settings.importedSection("snippets", document);
    ASSERT_TRUE(section);
    EXPECT_EQ(fresh.importEntries(*section), 2);
    EXPECT_EQ(triggersOf(fresh.all()), QStringList({"sig", "addr"}));
    EXPECT_EQ(fresh.all()[0].body, "Best regards");
    EXPECT_NE(fresh.all()[0].id, store.all()[0].id);
}

TEST(SnippetStore, Preview)
{
    const QString ellipsis(QChar(0x2026));
    struct Row {
        QString body;
        QString preview;
    };
    const Row table[] = {
        {"\n\n   Hello there\nmore", "Hello there"},
        {"  \n \n", ""},
        {"", ""},
        {QString(60, 'x'), QString(60, 'x')},
        {QString(61, 'x'), QString(59, 'x') + ellipsis},
        {"first\r\nsecond", "first"},
        {"\r\rthird", "third"},
    };
    for (const Row& row : table)
        EXPECT_EQ((Snippet{QUuid(), "t", row.body}.preview()), row.preview) << row.body.toStdString();
}

} // namespace
} // namespace quillon
