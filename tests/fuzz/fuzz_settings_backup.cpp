// Feeds arbitrary bytes to the settings backup as a chosen or dropped file:
// the read (size limit, UTF-8), the import and the snippets merge. Beyond not
// crashing, every file must get exactly one verdict, and a refused one must
// leave the settings and the snippets as they were.

#include "fakes/FakePlatform.h"
#include "features/snippets/SnippetStore.h"
#include "settings/Settings.h"
#include "ui/panes/SettingsBackup.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fakes::FakePlatform fake;
    static QTemporaryDir dir;
    fakes::FakeUserDefaults database;
    Settings settings(database, QStringLiteral("app.quillon.Quillon"));
    QFile::remove(dir.filePath(QStringLiteral("Snippets.json")));
    SnippetStore store(dir.filePath(QStringLiteral("Snippets.json")));
    SettingsBackup backup(SettingsBackup::Services{settings, store, [] { return false; }, {}, dir.path(),
                                                   dir.path(), {}});

    const QString path = dir.filePath(QStringLiteral("backup.json"));
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const QStringList before = settings.defaults().storedKeys();
    backup.importFile(path);
    fake.queue.drain();
    const auto status = backup.status();
    require(status.has_value());
    if (!status->ok) {
        require(settings.defaults().storedKeys() == before);
        require(store.all().empty());
    }
    return 0;
}
