#include "shelf/ShelfStore.h"

#include "fakes/FakePlatform.h"
#include "support/AppFiles.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quillon {
namespace {

class ShelfStoreTest : public ::testing::Test {
protected:
    ShelfStoreTest() { Log::isDebugEnabled = true; }
    ~ShelfStoreTest() override { Log::isDebugEnabled = false; }

    QString source(const QString& relative, const QByteArray& content = "data")
    {
        const QString path = sources.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.isEmpty() ? relative.toUtf8() : content);
        return path;
    }
    static QList<QUrl> urls(const QStringList& paths)
    {
        QList<QUrl> list;
        for (const QString& path : paths)
            list.push_back(QUrl::fromLocalFile(path));
        return list;
    }
    static QStringList names(const ShelfItem& item)
    {
        QStringList list;
        for (const QUrl& url : item.urls)
            list.push_back(QFileInfo(url.toLocalFile()).fileName());
        return list;
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QStringList shelfEntries() const
    {
        return QDir(shelf).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                     QDir::Name);
    }
    static QString folderOf(const ShelfItem& item)
    {
        return QFileInfo(item.urls.first().toLocalFile()).path();
    }

    fakes::FakePlatform fake;
    QTemporaryDir sources;
    QString shelf = AppFiles::root() + QStringLiteral("/Shelf");
};

TEST_F(ShelfStoreTest, AddingStashesFreshFilesAndTellsDuplicates)
{
    ShelfStore store(shelf);
    int changes = 0;
    store.onChange = [&] { ++changes; };
    const QString photoA = source("a/photo.png", "A"), photoB = source("b/photo.png", "B");
    const QString photoC = source("c/photo.png", "C"), readmeA = source("a/README"),
                  readmeB = source("b/README");
    const QString text = source("x.txt"), loose = source("loose.txt");

    struct Step {
        const char* what;
        QStringList offered;
        QStringList stored; // names in the new item; empty: nothing added
        int duplicatesOfItem = -1;
    };
    const Step steps[] = {
        {"same names from different folders",
         {photoA, photoB, photoC, readmeA, readmeB},
         {"photo.png", "photo 2.png", "photo 3.png", "README", "README 2"}},
        {"a second drop of a stashed file", {photoA}, {}, 0},
        {"a stashed file beside a new one", {readmeB, text}, {"x.txt"}, 0},
        {"one path twice, spelled two ways",
         {loose, sources.path() + "/a/../loose.txt"},
         {"loose.txt", "loose 2.txt"}},
        {"nothing", {}, {}},
    };
    QList<QUuid> ids;
    int expectedChanges = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const auto before = store.items();
        const ShelfStore::AddResult result = store.add(urls(step.offered));
        if (step.stored.isEmpty()) {
            EXPECT_TRUE(result.added.isEmpty());
            EXPECT_EQ(store.items(), before);
        } else {
            ASSERT_EQ(result.added.size(), 1);
            const ShelfItem& item = result.added.first();
            ++expectedChanges;
            ids.push_back(item.id);
            EXPECT_EQ(store.items().last(), item);
            EXPECT_EQ(names(item), step.stored);
            EXPECT_EQ(QFileInfo(folderOf(item)).fileName(), item.id.toString(QUuid::WithoutBraces).toUpper());
            for (int i = 0; i < item.urls.size(); ++i)
                EXPECT_EQ(read(item.urls[i].toLocalFile()), read(item.origins[i]));
            EXPECT_EQ(read(folderOf(item) + "/.origins"), item.origins.join('\n').toUtf8());
        }
        EXPECT_EQ(changes, expectedChanges);
        if (step.duplicatesOfItem >= 0)
            EXPECT_EQ(result.duplicates, QSet<QUuid>{ids[step.duplicatesOfItem]});
        else
            EXPECT_TRUE(result.duplicates.isEmpty());
    }
    EXPECT_EQ(store.items()[2].origins, (QStringList{loose, loose}));

    // A stashed file moved since is a new file at its new path.
    const QString moved = sources.path() + "/moved.txt";
    ASSERT_TRUE(QFile::rename(text, moved));
    EXPECT_EQ(store.add(urls({moved})).added.size(), 1);
    // Nothing but items in the shelf folder, and the application folder private.
    for (const QString& entry : shelfEntries())
        EXPECT_TRUE(ShelfStore::idOfFolderName(entry)) << entry.toStdString();
    EXPECT_EQ(QFileInfo(AppFiles::root()).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);
}

TEST_F(ShelfStoreTest, TouchesNothingBeforeTheFirstAdd)
{
    ShelfStore store(shelf);
    store.load();
    EXPECT_TRUE(store.items().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(shelf));
    EXPECT_TRUE(store.add({}).added.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(shelf));
}

TEST_F(ShelfStoreTest, CopiesKeepLinksAsLinksAndRefuseWhatCannotEnd)
{
    ShelfStore store(shelf);
    const QString target = source("docs/target.txt", "target");
    QDir().mkpath(sources.path() + "/folder/sub");
    source("folder/sub/inner.txt", "inner");
    fs::create_symlink(target.toStdString(), (sources.path() + "/folder/link").toStdString());
    fs::create_symlink(target.toStdString(), (sources.path() + "/alias").toStdString());
    const QString fifo = sources.path() + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    // The home folder holding the shelf would copy into itself for ever; a
    // pipe has no end to copy up to. Both are refused, the rest stashed.
    const ShelfStore::AddResult result =
        store.add(urls({AppFiles::root(), fifo, sources.path() + "/folder", sources.path() + "/alias"}));
    ASSERT_EQ(result.added.size(), 1);
    const ShelfItem& item = result.added.first();
    EXPECT_EQ(names(item), (QStringList{"folder", "alias"}));
    EXPECT_EQ(item.displayName(), "2 files");
    const QString copy = folderOf(item);
    EXPECT_TRUE(QFileInfo(copy + "/alias").isSymLink());
    EXPECT_TRUE(QFileInfo(copy + "/folder/link").isSymLink());
    EXPECT_EQ(QFileInfo(copy + "/folder/link").symLinkTarget(), target);
    EXPECT_EQ(read(copy + "/folder/sub/inner.txt"), "inner");
    EXPECT_TRUE(fake.log.contains("ShelfStore: failed to stash Quillon: "));
    EXPECT_TRUE(fake.log.contains("ShelfStore: failed to stash pipe: "));

    EXPECT_EQ(store.add(urls({sources.path() + "/folder/sub"})).added.first().displayName(), "sub");
}

TEST_F(ShelfStoreTest, LoadingRestoresItemsAndClearsStrays)
{
    ShelfStore store(shelf);
    const ShelfItem first =
        store.add(urls({source("b.txt"), source("A.txt"), source("a.txt"), source(".hidden")})).added.first();
    const ShelfItem second = store.add(urls({source("two.txt")})).added.first();
    const ShelfItem third = store.add(urls({source("three.txt")})).added.first();
    QFile::copy(first.urls.first().toLocalFile(), folderOf(first) + "/.DS_Store");

    // Strays of every kind, and what a stash or removal cut short left.
    const QString uuid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QString outside = sources.path() + "/outside";
    source("outside/keep.txt", "keep");
    source("stray-folder/x");
    QDir().mkpath(shelf + "/junk");
    QFile::copy(source("notes.txt"), shelf + "/notes.txt");
    QFile::copy(source("file-uuid"), shelf + "/" + QUuid::createUuid().toString(QUuid::WithoutBraces));
    QDir().mkpath(shelf + "/" + uuid + ".partial");
    QFile::copy(source("partial.txt"), shelf + "/" + uuid + ".partial/partial.txt");
    QDir().mkpath(shelf + "/" + uuid + ".removing");
    QFile::copy(source("removing.txt"), shelf + "/" + uuid + ".removing/removing.txt");
    QDir().mkpath(shelf + "/" + QUuid::createUuid().toString()); // braces
    const QString onlyOrigins = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    QDir().mkpath(shelf + "/" + onlyOrigins);
    QFile::copy(folderOf(second) + "/.origins", shelf + "/" + onlyOrigins + "/.origins");
    fs::create_symlink(outside.toStdString(),
                       (shelf + "/" + QUuid::createUuid().toString(QUuid::WithoutBraces)).toStdString());
    QFile::copy(source("ds"), shelf + "/.DS_Store");
    // A lower-case name is an item like any other.
    const QString lower = shelf + "/" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
    QDir().mkpath(lower);
    QFile::copy(source("lower.txt"), lower + "/lower.txt");

    ShelfStore reloaded(shelf);
    reloaded.load();
    ASSERT_EQ(reloaded.items().size(), 4);
    EXPECT_EQ(names(reloaded.items()[0]), (QStringList{".hidden", "A.txt", "a.txt", "b.txt"}));
    EXPECT_EQ(reloaded.items()[0].origins, first.origins);
    EXPECT_EQ(reloaded.items()[1], second);
    EXPECT_EQ(reloaded.items()[2], third);
    EXPECT_EQ(names(reloaded.items()[3]), QStringList{"lower.txt"});
    EXPECT_EQ(shelfEntries().size(), 5) << shelfEntries().join(' ').toStdString(); // 4 items and .DS_Store
    EXPECT_TRUE(QFileInfo::exists(shelf + "/.DS_Store"));
    EXPECT_EQ(read(outside + "/keep.txt"), "keep");
    // The duplicates of a reloaded shelf are those of the stored one.
    EXPECT_EQ(reloaded.add(urls({second.origins.first()})).duplicates, QSet<QUuid>{second.id});
}

TEST_F(ShelfStoreTest, ReloadKeepsTheOrderOfAddingWithoutBirthTimes)
{
    ShelfStore store(shelf);
    QList<ShelfItem> added;
    for (const char* name : {"one", "two", "three"})
        added.push_back(store.add(urls({source(name)})).added.first());
    const auto setTimes = [](const QString& path, time_t seconds) {
        const timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    };
    // Folders changed in the reverse order; the origins were written in order.
    setTimes(folderOf(added[0]) + "/.origins", 1000);
    setTimes(folderOf(added[1]) + "/.origins", 2000);
    QFile::remove(folderOf(added[2]) + "/.origins");
    setTimes(folderOf(added[0]), 9000);
    setTimes(folderOf(added[1]), 8000);
    setTimes(folderOf(added[2]), 3000);

    ShelfStore reloaded(shelf);
    reloaded.readsBirthTimes = false;
    reloaded.load();
    ASSERT_EQ(reloaded.items().size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reloaded.items()[i].id, added[i].id);
    EXPECT_TRUE(reloaded.items()[2].origins.isEmpty());
}

TEST_F(ShelfStoreTest, AnUnlistableItemFolderIsKeptForTheNextLoad)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root lists every folder";
    ShelfStore store(shelf);
    const ShelfItem item = store.add(urls({source("kept.txt")})).added.first();
    ASSERT_EQ(::chmod(QFile::encodeName(folderOf(item)).constData(), 0), 0);
    store.load();
    EXPECT_TRUE(store.items().isEmpty());
    ::chmod(QFile::encodeName(folderOf(item)).constData(), 0700);
    EXPECT_TRUE(QFileInfo::exists(item.urls.first().toLocalFile()));
    store.load();
    EXPECT_EQ(store.items(), QList<ShelfItem>{item});
}

TEST_F(ShelfStoreTest, RemovingDeletesOnlyTheChosenItems)
{
    ShelfStore store(shelf);
    for (const char* name : {"one", "two", "three"})
        store.add(urls({source(name)}));
    const QList<ShelfItem> all = store.items();
    int changes = 0;
    store.onChange = [&] { ++changes; };

    store.remove({});
    store.remove({QUuid::createUuid()});
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(store.items(), all);

    store.remove({all[1].id, QUuid::createUuid()});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(store.items(), (QList<ShelfItem>{all[0], all[2]}));
    EXPECT_FALSE(QFileInfo::exists(folderOf(all[1])));
    EXPECT_EQ(shelfEntries().size(), 2);
    ShelfStore reloaded(shelf);
    reloaded.load();
    EXPECT_EQ(reloaded.items(), store.items());
}

TEST(ShelfStore, FolderNamesAndOrigins)
{
    const QUuid id = QUuid::createUuid();
    const QString text = id.toString(QUuid::WithoutBraces);
    EXPECT_EQ(ShelfStore::idOfFolderName(text.toUpper()), id);
    EXPECT_EQ(ShelfStore::idOfFolderName(text.toLower()), id);
    for (const QString& bad : {id.toString(), text + ".partial", text.left(35), QString("notes"), QString()})
        EXPECT_FALSE(ShelfStore::idOfFolderName(bad)) << bad.toStdString();

    EXPECT_EQ(ShelfStore::parseOrigins("/a\n\n/b\n"), (QStringList{"/a", "/b"}));
    EXPECT_EQ(ShelfStore::parseOrigins("/line\nbreak"), (QStringList{"/line", "break"}));
    EXPECT_TRUE(ShelfStore::parseOrigins("").isEmpty());
    EXPECT_EQ(ShelfStore::standardPath(QUrl::fromLocalFile("/a/./b/../c")), "/a/c");
}

} // namespace
} // namespace quillon
