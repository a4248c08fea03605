// Feeds arbitrary bytes to a settings domain file as it is read at start.
// Whatever the file held, what the store then has in memory is what a
// second start reads back from disk, one more write keeps it all, and a
// file set aside keeps the bytes it had.

#include "fakes/FakePlatform.h"
#include "platform/linux/JsonUserDefaults.h"

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdlib>

using namespace quillon;
using platform::PlistValue;
using platform::linux_::JsonDefaultsStore;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

QMap<QString, PlistValue> contents(const JsonDefaultsStore& store)
{
    QMap<QString, PlistValue> values;
    for (const QString& key : store.storedKeys())
        values.insert(key, *store.storedValue(key));
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static fakes::FakePlatform fake;
    const QString folder = fake.pathsImpl.configDir();
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/app.quillon.Quillon.json");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    JsonDefaultsStore store(QStringLiteral("app.quillon.Quillon"), path);
    const QMap<QString, PlistValue> loaded = contents(store);

    const QStringList aside = QDir(folder).entryList({QStringLiteral("*.corrupt-*")}, QDir::Files);
    require(aside.size() <= 1);
    if (!aside.isEmpty()) {
        QFile kept(folder + QLatin1Char('/') + aside.first());
        require(kept.open(QIODevice::ReadOnly) && kept.readAll() == bytes);
    }

    JsonDefaultsStore again(QStringLiteral("app.quillon.Quillon"), path);
    require(contents(again) == loaded);

    again.set(QStringLiteral("fuzz.extra"), PlistValue(qint64(7)));
    JsonDefaultsStore third(QStringLiteral("app.quillon.Quillon"), path);
    QMap<QString, PlistValue> expected = loaded;
    expected.insert(QStringLiteral("fuzz.extra"), PlistValue(qint64(7)));
    require(contents(third) == expected);
    // Whatever a run allocates goes in the same run: libFuzzer runs a whole
    // leak check after every run that does not.
    fake.log.lines.clear();
    return 0;
}
