// Feeds arbitrary bytes to the clipboard store as its history file and as
// its pins file. Beyond not crashing, a load never keeps more than 20 entries
// or pins, and what the store then writes loads back to the same lists.

#include "fakes/FakePlatform.h"
#include "features/clipboard/ClipboardStore.h"
#include "support/AppFiles.h"
#include "support/AtomicFile.h"

#include <QDir>
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
    const QString history = AppFiles::root() + QStringLiteral("/Clipboard.json");
    const QString pins = AppFiles::root() + QStringLiteral("/ClipboardPins.json");
    QDir(AppFiles::root()).removeRecursively();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    AtomicFile::write(history, bytes);
    AtomicFile::write(pins, bytes);

    ClipboardStore store(history, pins);
    store.load();
    require(store.entries.size() <= ClipboardStore::maxEntries);
    require(store.pinned.size() <= ClipboardStore::maxEntries);
    require(store.write(store.entries, history));
    require(store.writePins());

    ClipboardStore reader(history, pins);
    reader.load();
    require(reader.entries == store.entries);
    require(reader.pinned == store.pinned);
    require(reader.pinsManualOrder == store.pinsManualOrder);
    return 0;
}
