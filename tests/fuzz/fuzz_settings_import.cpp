// Feeds arbitrary bytes to the settings import. Beyond not crashing, an
// accepted document must leave a store whose own export imports again
// without changing anything.

#include "fakes/FakePlatform.h"
#include "settings/Settings.h"
#include "settings/SettingsDocument.h"

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
    fakes::FakeUserDefaults database;
    Settings settings(database, QStringLiteral("app.quillon.Quillon"));
    int notifications = 0;
    settings.addObserver([&] { ++notifications; });

    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList before = settings.defaults().storedKeys();
    const bool accepted = settings.importJSON(text);
    settings.importedSection(QStringLiteral("snippets"), text);
    if (!accepted) {
        require(settings.defaults().storedKeys() == before && notifications == 0);
        return 0;
    }
    require(notifications <= 1);
    const QString exported = settings.exportJSON();
    if (exported.toUtf8().size() > SettingsDocument::maxBytes)
        return 0;
    notifications = 0;
    require(settings.importJSON(exported));
    require(notifications == 0 && settings.exportJSON() == exported);
    return 0;
}
