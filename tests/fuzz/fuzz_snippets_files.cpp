// Feeds arbitrary bytes to the snippet store as its "Snippets.json" and as a
// backup's "snippets" section. Beyond not crashing, what an import took
// exports and imports into another empty store unchanged, in order.

#include "fakes/FakePlatform.h"
#include "features/snippets/SnippetStore.h"
#include "support/AppFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
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
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QDir(AppFiles::root()).removeRecursively();
    QDir().mkpath(AppFiles::root());
    const QString path = AppFiles::root() + QStringLiteral("/Snippets.json");
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    SnippetStore stored(path);
    const std::vector<Snippet> list = stored.all();
    if (auto decoded = SnippetStore::decode(SnippetStore::encode(list)))
        require(*decoded == list);
    else
        require(false);

    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (!document.isArray())
        return 0;
    SnippetStore first(AppFiles::root() + QStringLiteral("/First.json"));
    first.importEntries(document.array());
    SnippetStore second(AppFiles::root() + QStringLiteral("/Second.json"));
    second.importEntries(first.exportEntries());
    require(first.all().size() == second.all().size());
    for (std::size_t i = 0; i < first.all().size(); ++i) {
        require(first.all()[i].trigger == second.all()[i].trigger);
        require(first.all()[i].body == second.all()[i].body);
    }
    return 0;
}
