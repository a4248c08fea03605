// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include "fakes/FakePlatform.h"
#include "platform/linux/X11WindowManagerPrefs.h"
#include "ui/EdgeTiling.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using platform::linux_::X11WindowManagerPrefs;

struct EdgeTilingTest : ::testing::Test {
    EdgeTilingTest()
    {
        // Values set here stay in memory: nothing of the host is read or changed.
        qputenv("GSETTINGS_BACKEND", "memory");
    }
    void write(const QString& relative, const QByteArray& text)
    {
        const QString path = config.path() + "/" + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    /// A compiled schema folder holding org.gnome.mutter with "edge-tiling".
    QString mutterSchemas()
    {
        const QString dir = schemas.path() + "/mutter";
        QDir().mkpath(dir);
        QFile xml(dir + "/org.gnome.mutter.gschema.xml");
        EXPECT_TRUE(xml.open(QIODevice::WriteOnly));
        xml.write(R"(<schemalist><schema id="org.gnome.mutter" path="/org/gnome/mutter/">
<key name="edge-tiling" type="b"><default>true</default></key></schema></schemalist>)");
        xml.close();
        EXPECT_EQ(QProcess::execute("glib-compile-schemas", {dir}), 0);
        return dir;
    }
    std::optional<bool> answer(const char* wm)
    {
        return X11WindowManagerPrefs::forWindowManager(wm, config.path());
    }

    QTemporaryDir config;
    QTemporaryDir schemas;
};

TEST_F(EdgeTilingTest, KWinSidesOrTop)
{
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {nullptr, true},
        {"[Windows]\nElectricBorderTiling=false\n", true},
        {"[Windows]\nElectricBorderMaximize=false\n", true},
        {"[Windows]\nElectricBorderTiling=false\nElectricBorderMaximize=false\n", false},
        {"[Other]\nElectricBorderTiling=false\nElectricBorderMaximize=false\n", true},
        {"[Windows\nnot a file of settings\n", true},
    };
    for (const auto& [text, expected] : cases) {
        QFile::remove(config.path() + "/kwinrc");
        if (text)
            write("kwinrc", text);
        EXPECT_EQ(answer("KWin"), expected) << (text ? text : "no file");
    }
}

TEST_F(EdgeTilingTest, XfwmTileOnMove)
{
    const auto channel = [](const char* value) {
        return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfwm4" version="1.0"><property name="general" type="empty">
<property name="theme" type="string" value="Default"/>
<property name="tile_on_move" type="bool" value=")") +
               value + R"("/></property></channel>)";
    };
    const QString file = "xfce4/xfconf/xfce-perchannel-xml/xfwm4.xml";
    EXPECT_EQ(answer("Xfwm4"), true) << "no file";
    write(file, channel("false"));
    EXPECT_EQ(answer("Xfwm4"), false);
    write(file, channel("true"));
    EXPECT_EQ(answer("Xfwm4"), true);
    write(file, "<channel><property name=\"general\"");
    EXPECT_EQ(answer("Xfwm4"), true) << "broken file";
    write(file, R"(<channel><property name="tile_on_move" type="bool" value="false"/></channel>)");
    EXPECT_EQ(answer("Xfwm4"), true) << "outside general";
}

TEST_F(EdgeTilingTest, MutterThroughGSettings)
{
    const QString dir = mutterSchemas();
    for (const char* name : {"Mutter", "GNOME Shell"})
        EXPECT_EQ(X11WindowManagerPrefs::forWindowManager(name, config.path(), dir), true) << name;

    GSettingsSchemaSource* source =
        g_settings_schema_source_new_from_directory(dir.toUtf8(), nullptr, TRUE, nullptr);
    ASSERT_TRUE(source);
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, "org.gnome.mutter", FALSE);
    GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_set_boolean(settings, "edge-tiling", FALSE);
    EXPECT_EQ(X11WindowManagerPrefs::forWindowManager("Mutter", config.path(), dir), false);
    g_settings_set_boolean(settings, "edge-tiling", TRUE);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
    g_settings_schema_source_unref(source);

    // No schema: unknown, and the process goes on.
    const QString empty = schemas.path() + "/empty";
    QDir().mkpath(empty);
    EXPECT_EQ(X11WindowManagerPrefs::forWindowManager("Mutter", config.path(), empty), std::nullopt);
}

TEST_F(EdgeTilingTest, OtherWindowManagersAreUnknown)
{
    write("kwinrc", "[Windows]\nElectricBorderTiling=true\n");
    for (const char* name : {"Openbox", "i3", ""})
        EXPECT_EQ(answer(name), std::nullopt) << name;
}

TEST(EdgeTiling, UnknownReadsAsOff)
{
    fakes::FakePlatform fake;
    for (const auto& [answer, enabled] :
         {std::pair(std::optional<bool>(), false), std::pair(std::optional(true), true),
          std::pair(std::optional(false), false)}) {
        fake.windowManagerPrefsImpl.edgeTiling = answer;
        EXPECT_EQ(EdgeTiling::isEnabled(), enabled);
    }
}

} // namespace
} // namespace quillon
