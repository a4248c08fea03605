#include "platform/linux/XdgPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace quillon::platform::linux_ {

namespace {

const QString kFolder = QStringLiteral("Quillon");

// An XDG base folder: the variable when it holds an absolute path, else the
// default under the home folder.
QString base(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + QLatin1Char('/') + fallback;
}

} // namespace

QString XdgPaths::home() const { return QDir::homePath(); }

QString XdgPaths::configDir() const { return base("XDG_CONFIG_HOME", QStringLiteral(".config")) + '/' + kFolder; }

QString XdgPaths::dataDir() const { return base("XDG_DATA_HOME", QStringLiteral(".local/share")) + '/' + kFolder; }

// Qt 6.4 has no standard location for the state folder, so it is read here.
QString XdgPaths::logDir() const { return base("XDG_STATE_HOME", QStringLiteral(".local/state")) + '/' + kFolder; }

QString XdgPaths::desktopDir() const
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString XdgPaths::picturesDir() const
{
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
}

QString XdgPaths::tempDir() const { return QDir::tempPath(); }

} // namespace quillon::platform::linux_
