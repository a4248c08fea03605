// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

#include "platform/linux/X11WindowManagerPrefs.h"

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QFile>
#include <QSettings>
#include <QXmlStreamReader>

namespace quillon::platform::linux_ {

X11WindowManagerPrefs::X11WindowManagerPrefs(QString configHome)
    : m_configHome(std::move(configHome))
{
}

X11WindowManagerPrefs::~X11WindowManagerPrefs() = default;

QString X11WindowManagerPrefs::windowManagerName()
{
    if (!m_triedX) {
        m_triedX = true;
        m_x = X11Connection::open();
    }
    if (!m_x)
        return {};
    Ewmh ewmh(*m_x);
    const auto check = ewmh.windowValue(m_x->root(), "_NET_SUPPORTING_WM_CHECK");
    if (!check)
        return {};
    return ewmh.utf8(*check, "_NET_WM_NAME").value_or(QString());
}

std::optional<bool> X11WindowManagerPrefs::edgeTilingEnabled()
{
    return forWindowManager(windowManagerName(), m_configHome);
}

std::optional<bool> X11WindowManagerPrefs::forWindowManager(const QString& name, const QString& configHome,
                                                            const std::optional<QString>& schemaDir)
{
    const QString lower = name.toLower();
    if (lower.contains(QLatin1String("mutter")) || lower.contains(QLatin1String("gnome shell")))
        return mutterEdgeTiling(schemaDir);
    if (lower.startsWith(QLatin1String("kwin")))
        return kwinEdgeTiling(configHome);
    if (lower.startsWith(QLatin1String("xfwm4")))
        return xfwmEdgeTiling(configHome);
    return std::nullopt;
}

std::optional<bool> X11WindowManagerPrefs::mutterEdgeTiling(const std::optional<QString>& schemaDir)
{
    // Looked up first: GSettings aborts the process on a schema it lacks.
    GSettingsSchemaSource* source = nullptr;
    if (schemaDir) {
        source = g_settings_schema_source_new_from_directory(schemaDir->toUtf8().constData(), nullptr, TRUE,
                                                             nullptr);
    } else if (GSettingsSchemaSource* shared = g_settings_schema_source_get_default()) {
        source = g_settings_schema_source_ref(shared);
    }
    if (!source)
        return std::nullopt;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, "org.gnome.mutter", TRUE);
    g_settings_schema_source_unref(source);
    if (!schema)
        return std::nullopt;
    bool enabled = true;
    if (g_settings_schema_has_key(schema, "edge-tiling")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        enabled = g_settings_get_boolean(settings, "edge-tiling");
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return enabled;
}

bool X11WindowManagerPrefs::kwinEdgeTiling(const QString& configHome)
{
    const QSettings rc(configHome + QStringLiteral("/kwinrc"), QSettings::IniFormat);
    // Side edges tile, the top edge maximises; either counts.
    const bool sides = rc.value(QStringLiteral("Windows/ElectricBorderTiling"), true).toBool();
    const bool top = rc.value(QStringLiteral("Windows/ElectricBorderMaximize"), true).toBool();
    return sides || top;
}

bool X11WindowManagerPrefs::xfwmEdgeTiling(const QString& configHome)
{
    QFile file(configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/xfwm4.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return true;
    QXmlStreamReader xml(&file);
    QStringList path;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() != QLatin1String("property")) {
                path << QString();
                continue;
            }
            const QString name = xml.attributes().value(QLatin1String("name")).toString();
            path << name;
            if (path.size() >= 2 && path[path.size() - 2] == QLatin1String("general") &&
                name == QLatin1String("tile_on_move"))
                return xml.attributes().value(QLatin1String("value")) != QLatin1String("false");
        } else if (token == QXmlStreamReader::EndElement && !path.isEmpty()) {
            path.removeLast();
        }
    }
    return true;
}

} // namespace quillon::platform::linux_
