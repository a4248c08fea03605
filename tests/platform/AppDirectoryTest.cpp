#include "fakes/FakeAppDirectory.h"
#include "platform/linux/DesktopEntry.h"
#include "platform/linux/XdgAppDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillon;
using platform::AppEntry;
using platform::AppHints;
using platform::linux_::DesktopEntry;

namespace {

TEST(DesktopEntry, ReadsTheDesktopEntryGroupOnly)
{
    const auto entry = DesktopEntry::parse("# comment\n"
                                           "[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=Files\n"
                                           "Name[de]=Dateien\n"
                                           "Exec=env GTK_THEME=Adwaita:dark /usr/bin/nautilus --new-window %U\n"
                                           "Icon=org.gnome.Nautilus\n"
                                           "Comment=Line\\none\\sand\\ttab\n"
                                           "NoDisplay=true\n"
                                           "MimeType=inode/directory;application/x-7z-compressed;\n"
                                           "[Desktop Action new-window]\n"
                                           "Name=New Window\n"
                                           "Exec=nautilus --new-window\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value("Name"), "Files");
    EXPECT_EQ(entry->value("Comment"), "Line\none and\ttab");
    const auto app = entry->application("org.gnome.Nautilus", "/x.desktop");
    ASSERT_TRUE(app);
    EXPECT_EQ(app->executable, "nautilus");
    EXPECT_FALSE(app->shownInMenus);
    EXPECT_EQ(app->mimeTypes, QStringList({"inode/directory", "application/x-7z-compressed"}));
    EXPECT_EQ(app->name, "Files") << "the action's Name must not win";

    EXPECT_FALSE(DesktopEntry::parse("[Other]\nName=x\n"));
    EXPECT_FALSE(DesktopEntry::parse("[Desktop Entry]\nType=Link\nName=x\n")->application("x", ""));
    EXPECT_FALSE(DesktopEntry::parse("[Desktop Entry]\nType=Application\nHidden=true\n")->application("x", ""));
}

TEST(DesktopEntry, ProgramOfAnExecLine)
{
    const std::pair<QString, QString> rows[] = {
        {"xterm", "xterm"},
        {"/usr/bin/firefox-esr %u", "firefox-esr"},
        {"\"/opt/My App/bin/my app\" --flag", "my app"},
        {"env A=1 B=2 code --new", "code"},
        {"/usr/bin/env -u X app", "app"},
        {"", ""},
    };
    for (const auto& [exec, program] : rows)
        EXPECT_EQ(DesktopEntry::program(exec), program) << exec.toStdString();
}

TEST(DesktopEntry, ArgumentsOfAnExecLineWithoutFieldCodesOrAShell)
{
    const std::pair<QString, std::optional<QStringList>> rows[] = {
        {"xterm", QStringList{"xterm"}},
        {"/usr/bin/firefox-esr %u --new-window", QStringList{"/usr/bin/firefox-esr", "--new-window"}},
        {"\"/opt/My App/bin/my app\" --name \"a \\\"b\\\"\" %F", QStringList{"/opt/My App/bin/my app", "--name", "a \"b\""}},
        {"app --rate 50%% ; rm -rf x", QStringList{"app", "--rate", "50%", ";", "rm", "-rf", "x"}},
        {"app \"unbalanced", std::nullopt},
        {"%U %f", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [exec, arguments] : rows)
        EXPECT_EQ(DesktopEntry::arguments(exec), arguments) << exec.toStdString();
}

AppEntry entry(const QString& id, const QString& exec, const QString& wmClass = {}, bool shown = true)
{
    AppEntry e;
    e.appId = id;
    e.name = id;
    e.executable = exec;
    e.startupWMClass = wmClass;
    e.shownInMenus = shown;
    return e;
}

TEST(AppDirectory, IdentifiesProgramsByTheirWindowsAndExecutable)
{
    fakes::FakeAppDirectory directory;
    directory.list = {
        entry("debian-uxterm", "uxterm", "UXTerm"),
        entry("debian-xterm", "xterm"),
        entry("org.gnome.Nautilus", "nautilus"),
        entry("firefox-esr", "firefox-esr", "firefox-esr"),
        entry("org.kde.konsole", "konsole"),
        entry("code", "code", "Code"),
        entry("code-url-handler", "code", "Code", false),
        entry("gimp-helper", "gimp", {}, false),
        entry("gimp", "gimp"),
    };
    struct Row {
        const char* name;
        AppHints hints;
        QString appId;
    };
    const Row rows[] = {
        {"xterm says XTerm, runs xterm", {{}, {}, "xterm", "XTerm", "xterm"}, "debian-xterm"},
        {"uxterm's class", {{}, {}, "xterm", "UXTerm", "xterm"}, "debian-uxterm"},
        {"GTK application id", {"org.gnome.Nautilus", {}, "org.gnome.Nautilus", "Org.gnome.Nautilus", "nautilus"},
         "org.gnome.Nautilus"},
        {"KDE desktop file", {{}, "/usr/share/applications/org.kde.konsole.desktop", "konsole", "konsole", "konsole"},
         "org.kde.konsole"},
        {"StartupWMClass", {{}, {}, "Navigator", "firefox-esr", "firefox-esr"}, "firefox-esr"},
        {"class as the last part of the id", {{}, {}, "nautilus", "Nautilus", "unknown"}, "org.gnome.Nautilus"},
        {"menu entry beats a hidden one", {{}, {}, "code", "Code", "code"}, "code"},
        {"menu entry beats a hidden one by executable", {{}, {}, "gimp-2.10", "Gimp-2.10", "gimp"}, "gimp"},
        {"unknown GTK id falls through", {"org.example.Gone", {}, "xterm", "XTerm", "xterm"}, "debian-xterm"},
        {"nothing matches: the executable", {{}, {}, "tool", "Tool", "mytool"}, "mytool"},
        {"nothing at all: the class", {{}, {}, "tool", "Tool", {}}, "Tool"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(directory.appId(row.hints), row.appId) << row.name;
}

class XdgAppDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_saved = qgetenv("XDG_DATA_HOME");
        m_savedDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_HOME", (home.path() + "/home").toUtf8());
        qputenv("XDG_DATA_DIRS", (home.path() + "/system").toUtf8());
    }
    void TearDown() override
    {
        qputenv("XDG_DATA_HOME", m_saved);
        qputenv("XDG_DATA_DIRS", m_savedDirs);
    }
    void write(const QString& relative, const QByteArray& text)
    {
        const QString path = home.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir home;

private:
    QByteArray m_saved, m_savedDirs;
};

TEST_F(XdgAppDirectoryTest, UserEntriesWinAndSubfoldersMakeDashedIds)
{
    write("system/applications/debian-xterm.desktop", "[Desktop Entry]\nType=Application\nName=XTerm\nExec=xterm\n");
    write("system/applications/editor.desktop", "[Desktop Entry]\nType=Application\nName=Editor\nExec=edit\n");
    write("system/applications/kde4/okular.desktop", "[Desktop Entry]\nType=Application\nName=Okular\nExec=okular\n");
    write("home/applications/editor.desktop", "[Desktop Entry]\nType=Application\nName=My Editor\nExec=edit\n");
    write("home/applications/debian-xterm.desktop", "[Desktop Entry]\nType=Application\nHidden=true\n");
    platform::linux_::XdgAppDirectory directory;
    EXPECT_EQ(directory.entry("editor")->name, "My Editor");
    EXPECT_FALSE(directory.entry("debian-xterm")) << "a hidden user entry removes the system one";
    EXPECT_EQ(directory.entry("kde4-okular")->executable, "okular");
    EXPECT_EQ(directory.entries().size(), 2u);
}

TEST_F(XdgAppDirectoryTest, APickedFileIsNamedByItsPlaceAndMustBeAnApplication)
{
    write("home/applications/tools/kiwi.desktop", "[Desktop Entry]\nType=Application\nName=Kiwi\nExec=kiwi\n");
    write("elsewhere/org.pear.Pear.desktop", "[Desktop Entry]\nType=Application\nName=Pear\nExec=pear\n");
    write("elsewhere/site.desktop", "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n");
    write("elsewhere/gone.desktop", "[Desktop Entry]\nType=Application\nName=Gone\nHidden=true\n");
    write("elsewhere/notes.txt", "[Desktop Entry]\nType=Application\nName=Notes\n");
    platform::linux_::XdgAppDirectory directory;
    EXPECT_EQ(directory.userApplicationsFolder(), home.path() + "/home/applications");
    struct Row {
        QString file;
        std::optional<QString> appId;
    };
    const Row rows[] = {
        {"home/applications/tools/kiwi.desktop", "tools-kiwi"},
        {"home/applications/../applications/tools/kiwi.desktop", "tools-kiwi"},
        {"elsewhere/org.pear.Pear.desktop", "org.pear.Pear"},
        {"elsewhere/site.desktop", std::nullopt},
        {"elsewhere/gone.desktop", std::nullopt},
        {"elsewhere/notes.txt", std::nullopt},
        {"elsewhere/missing.desktop", std::nullopt},
        {"elsewhere", std::nullopt},
    };
    for (const Row& row : rows) {
        const auto entry = directory.entryAt(home.path() + "/" + row.file);
        EXPECT_EQ(entry ? std::optional(entry->appId) : std::nullopt, row.appId) << row.file.toStdString();
    }
}

} // namespace
