#include "UiFixture.h"

#include "features/snippets/SnippetStore.h"
#include "settings/SettingsDocument.h"
#include "ui/panes/SettingsBackup.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace quillon {
namespace {

struct SettingsBackupTest : ::testing::Test, testing::UiFixture {
    SettingsBackupTest()
    {
        settings().setShelfEnabled(false);
        backup = std::make_unique<SettingsBackup>(
            SettingsBackup::Services{settings(), store, [this] { return shelfActive; },
                                     [this](const QList<QUrl>& urls) { shelved += urls; }, desktop,
                                     dir.path() + "/tmp", [this] { ++refreshes; }});
    }
    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = dir.path() + "/" + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }
    /// A document of ours with "clipboard.isEnabled" on and `snippets` in it.
    QByteArray document(int snippets, bool clipboard = true)
    {
        const bool before = settings().isClipboardEnabled();
        settings().setClipboardEnabled(clipboard);
        QJsonArray entries;
        for (int i = 0; i < snippets; ++i)
            entries.append(QJsonObject{{"trigger", QString("t%1").arg(i)}, {"body", "text"}});
        const QByteArray text = settings().exportJSON({{"snippets", entries}}).toUtf8();
        settings().setClipboardEnabled(before);
        return text;
    }
    std::optional<SettingsBackup::Status> importing(const QString& path)
    {
        backup->importFile(path);
        fake.queue.drain();
        return backup->status();
    }

    QTemporaryDir dir;
    QString desktop = dir.path() + "/home/Desktop";
    SnippetStore store{dir.path() + "/data/Snippets.json"};
    bool shelfActive = true;
    QList<QUrl> shelved;
    int refreshes = 0;
    std::unique_ptr<SettingsBackup> backup;
};

using Status = SettingsBackup::Status;

TEST_F(SettingsBackupTest, SavesWhereTheFileCanBeFound)
{
    struct Case {
        const char* name;
        bool shelfOn;
        bool active;
        bool desktopBelowAFile;
        Status status;
        bool onShelf;
    };
    const Case cases[] = {
        {"shelf running", true, true, false, {"Saved to the shelf", true}, true},
        // A file in a hidden temporary folder that no shelf takes is lost.
        {"shelf on but not running", true, false, false, {"Saved to the Desktop", true}, false},
        {"shelf off", false, true, false, {"Saved to the Desktop", true}, false},
        {"desktop cannot be made", false, true, true, {"Couldn’t save", false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(dir.path() + "/home").removeRecursively();
        QDir(dir.path() + "/tmp").removeRecursively();
        if (c.desktopBelowAFile)
            write("home", "a file where a folder should be");
        shelved.clear();
        fake.workspaceImpl.revealed.clear();
        settings().setShelfEnabled(c.shelfOn);
        shelfActive = c.active;
        EXPECT_EQ(backup->savesToShelf(), c.onShelf);

        backup->exportToFile();

        EXPECT_EQ(backup->status(), c.status);
        const QString onDesktop = desktop + "/Quillon-Settings.json";
        if (c.onShelf) {
            ASSERT_EQ(shelved.size(), 1);
            const QString path = shelved.first().toLocalFile();
            EXPECT_TRUE(path.startsWith(dir.path() + "/tmp/"));
            EXPECT_EQ(QFileInfo(path).fileName(), "Quillon-Settings.json");
            EXPECT_TRUE(QFile::exists(path));
            EXPECT_FALSE(QFile::exists(onDesktop));
            EXPECT_TRUE(fake.workspaceImpl.revealed.empty());
        } else if (c.status.ok) {
            EXPECT_TRUE(shelved.isEmpty());
            EXPECT_TRUE(QFile::exists(onDesktop));
            EXPECT_EQ(fake.workspaceImpl.revealed, std::vector<QString>{onDesktop});
        } else {
            EXPECT_TRUE(shelved.isEmpty());
            EXPECT_TRUE(fake.workspaceImpl.revealed.empty());
        }
        QFile::remove(dir.path() + "/home");
    }
}

TEST_F(SettingsBackupTest, SavedFileRestoresTheSettingsAndSnippets)
{
    store.save({QUuid::createUuid(), "sig", "Best regards"});
    settings().setClipboardEnabled(true);
    QDir().mkpath(desktop);
    write("home/Desktop/Quillon-Settings.json", "an older backup");
    backup->exportToFile();
    ASSERT_EQ(backup->status(), (Status{"Saved to the Desktop", true}));

    settings().setClipboardEnabled(false);
    store.remove(store.all().front().id);
    EXPECT_EQ(importing(desktop + "/Quillon-Settings.json"), (Status{"Settings imported · 1 snippet", true}));
    EXPECT_TRUE(settings().isClipboardEnabled());
    ASSERT_EQ(store.all().size(), 1u);
    EXPECT_EQ(store.all().front().body, "Best regards");
    EXPECT_EQ(refreshes, 1);
}

TEST_F(SettingsBackupTest, ImportTellsWhatItTook)
{
    QByteArray oversized = document(1);
    oversized.append(QByteArray(SettingsDocument::maxBytes, ' '));
    QJsonObject junkDocument = QJsonDocument::fromJson(document(0)).object();
    junkDocument.insert("snippets", QJsonArray{1, "x", QJsonObject{{"trigger", 3}}});
    const QByteArray junk = QJsonDocument(junkDocument).toJson();
    struct Case {
        const char* name;
        std::function<QString()> file;
        Status status;
        bool written;
    };
    const Case cases[] = {
        {"missing file",
         [&] { return dir.path() + "/none.json"; },
         {"Not a Quillon settings file", false},
         false},
        {"a folder",
         [&] {
             QDir().mkpath(dir.path() + "/folder.json");
             return dir.path() + "/folder.json";
         },
         {"Not a Quillon settings file", false},
         false},
        {"empty", [&] { return write("empty.json", ""); }, {"Not a Quillon settings file", false}, false},
        {"not JSON",
         [&] { return write("notes.json", "just some text"); },
         {"Not a Quillon settings file", false},
         false},
        {"another program's JSON",
         [&] {
             return write("other.json",
                          R"({"app": "Other", "schema": 1, "values": {"clipboard.isEnabled": true}})");
         },
         {"Not a Quillon settings file", false},
         false},
        {"not UTF-8",
         [&] { return write("latin.json", "{\"app\": \"Quillon\xe9\"}"); },
         {"Not a Quillon settings file", false},
         false},
        {"over the import limit",
         [&] { return write("big.json", oversized); },
         {"Not a Quillon settings file", false},
         false},
        {"no snippets section",
         [&] {
             QByteArray text = settings().exportJSON().toUtf8();
             text.replace("\"clipboard.isEnabled\": false", "\"clipboard.isEnabled\": true");
             return write("plain.json", text);
         },
         {"Settings imported", true},
         true},
        {"empty snippets section",
         [&] { return write("zero.json", document(0)); },
         {"Settings imported", true},
         true},
        {"junk snippets", [&] { return write("junk.json", junk); }, {"Settings imported", true}, true},
        {"one snippet",
         [&] { return write("one.json", document(1)); },
         {"Settings imported · 1 snippet", true},
         true},
        {"three snippets",
         [&] { return write("three.json", document(3)); },
         {"Settings imported · 3 snippets", true},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings().setClipboardEnabled(false);
        const QString path = c.file();
        EXPECT_EQ(importing(path), c.status);
        EXPECT_EQ(settings().isClipboardEnabled(), c.written);
    }
}

TEST_F(SettingsBackupTest, ImportWritesOnlyTheActiveProfile)
{
    const QString path = write("backup.json", document(0, true));
    settings().setClipboardEnabled(false);
    settings().setProfile(Settings::Profile::two);
    ASSERT_EQ(settings().profile(), Settings::Profile::two);
    settings().setClipboardEnabled(false);
    EXPECT_EQ(importing(path), (Status{"Settings imported", true}));
    EXPECT_TRUE(settings().isClipboardEnabled());
    settings().setProfile(Settings::Profile::one);
    EXPECT_FALSE(settings().isClipboardEnabled());
}

TEST_F(SettingsBackupTest, DropTakesTheFirstLocalFile)
{
    const QString good = write("good.json", document(0));
    const QString bad = write("bad.json", "not ours");
    EXPECT_FALSE(backup->handleDrop({QUrl("https://example.com/a.json")}));
    EXPECT_FALSE(backup->status());
    EXPECT_TRUE(backup->handleDrop(
        {QUrl("https://example.com/a.json"), QUrl::fromLocalFile(good), QUrl::fromLocalFile(bad)}));
    fake.queue.drain();
    EXPECT_EQ(backup->status(), (Status{"Settings imported", true}));
}

TEST_F(SettingsBackupTest, ABackupTooLargeToImportIsNotSaved)
{
    store.save({QUuid::createUuid(), "huge", QString(SettingsDocument::maxBytes, 'x')});
    backup->exportToFile();
    EXPECT_EQ(backup->status(), (Status{"Couldn’t save", false}));
    EXPECT_FALSE(QFile::exists(desktop + "/Quillon-Settings.json"));
    EXPECT_TRUE(fake.workspaceImpl.revealed.empty());
}

TEST_F(SettingsBackupTest, ANewerMessageKeepsItsFullTime)
{
    int changes = 0;
    QObject::connect(backup.get(), &SettingsBackup::statusChanged, [&] { ++changes; });
    backup->exportToFile();
    fake.queue.advance(2.0);
    backup->flash("Settings imported", true);
    fake.queue.advance(1.5); // the first message's clear comes and goes
    EXPECT_EQ(backup->status(), (Status{"Settings imported", true}));
    fake.queue.advance(1.4);
    EXPECT_TRUE(backup->status());
    fake.queue.advance(0.2);
    EXPECT_FALSE(backup->status());
    EXPECT_EQ(changes, 3);
}

} // namespace
} // namespace quillon
