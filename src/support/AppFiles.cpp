#include "support/AppFiles.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace quillon {

QString AppFiles::root() { return platform::platform().paths().dataDir(); }

bool AppFiles::makeRoot()
{
    const QString folder = root();
    if (QFileInfo(folder).isDir())
        return true;
    QDir().mkpath(QFileInfo(folder).absolutePath());
    // mkdir with the mode, rather than a chmod afterwards: the folder is never
    // open to others, not even for a moment.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return QFileInfo(folder).isDir();
}

} // namespace quillon
