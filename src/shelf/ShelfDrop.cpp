#include "shelf/ShelfDrop.h"

#include "platform/Platform.h"
#include "shelf/ContentTypes.h"
#include "shelf/PromiseWait.h"
#include "support/CrashReporter.h"
#include "support/Log.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QUuid>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const QString fileUrlType = QStringLiteral("text/uri-list");

struct SnapshotType {
    const char* type;
    const char* extension;
};
/// Image data kept when no file arrives, in order of preference.
constexpr SnapshotType snapshotTypes[] = {
    {"image/png", "png"},
    {"image/jpeg", "jpg"},
    {"application/pdf", "pdf"},
    {"image/tiff", "png"},
};

/// Pixels only: whatever text or properties the TIFF carried stay behind.
QByteArray tiffAsPng(const QByteArray& tiff)
{
    QBuffer in;
    in.setData(tiff);
    QImageReader reader(&in, "tiff");
    reader.setAutoTransform(true);
    const QImage decoded = reader.read();
    if (decoded.isNull())
        return {};
    const QImage argb = decoded.convertToFormat(QImage::Format_ARGB32);
    const QImage pixels =
        QImage(argb.constBits(), argb.width(), argb.height(), argb.bytesPerLine(), argb.format()).copy();
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    if (!pixels.save(&out, "PNG"))
        return {};
    return png;
}

/// A name a source gave, as a plain name inside our folder; empty when it
/// names no file of its own.
QString plainName(const QString& name)
{
    const QString last = name.section(QLatin1Char('/'), -1);
    if (last == QLatin1String(".") || last == QLatin1String(".."))
        return {};
    return last;
}

QString quotedList(const QStringList& types)
{
    QStringList quoted;
    for (const QString& type : types)
        quoted.push_back(QLatin1Char('"') + type + QLatin1Char('"'));
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

bool offersSnapshot(const DragData& drag)
{
    for (const SnapshotType& snapshot : snapshotTypes)
        if (drag.types.contains(QLatin1String(snapshot.type)))
            return true;
    for (const DragData::Item& item : drag.items)
        if (!item.data.isEmpty())
            return true;
    return false;
}

/// Whether `path` is an entry of `folder`, written there and not elsewhere.
bool isEntryOf(const QString& path, const QString& folder)
{
    const QString clean = QDir::cleanPath(path);
    std::error_code ec;
    return QFileInfo(clean).path() == QDir::cleanPath(folder) &&
           std::filesystem::exists(
               std::filesystem::symlink_status(QFile::encodeName(clean).toStdString(), ec));
}

} // namespace

QStringList ShelfDrop::draggedTypes()
{
    QStringList types{fileUrlType};
    types += platform::platform().filePromises().readableTypes();
    // Image data alone is a drop too: it is kept as a file.
    for (const SnapshotType& snapshot : snapshotTypes)
        types.push_back(QString::fromLatin1(snapshot.type));
    types.removeDuplicates();
    return types;
}

bool ShelfDrop::offersFiles(const QMimeData* mime)
{
    if (!mime)
        return false;
    const QStringList formats = mime->formats();
    for (const QString& type : draggedTypes()) {
        if (formats.contains(type))
            return true;
    }
    return mime->hasUrls() || mime->hasImage();
}

bool ShelfDrop::carriesFiles(const DragData& drag)
{
    return !drag.fileUrls.isEmpty() || drag.filesOfUnknownTypes || drag.promisedFileUrls ||
           !drag.receivers.empty();
}

std::vector<std::optional<QString>> ShelfDrop::draggedContentTypes(const DragData& drag)
{
    const bool promises = drag.promisedFileUrls ||
                          std::any_of(drag.items.begin(), drag.items.end(), [](const DragData::Item& item) {
                              return item.promisedContentType.has_value();
                          });
    std::vector<std::optional<QString>> types;
    for (const DragData::Item& item : drag.items) {
        if (item.promisedContentType)
            types.push_back(ContentTypes::named(*item.promisedContentType));
        else if (promises)
            types.push_back(std::nullopt);
        else if (item.fileUrl)
            types.push_back(ContentTypes::ofPath(item.fileUrl->path()));
        else
            types.push_back(std::nullopt);
    }
    return types;
}

bool ShelfDrop::receive(const DragData& drag, Completion completion)
{
    Log::debug([&] { return QStringLiteral("Shelf drop types: ") + quotedList(drag.types); });
    CrashReporter::breadcrumb(QStringLiteral("shelf: receiving a drop"));

    const auto promiseReceivers = receivers(drag);
    QList<QUrl> readable;
    for (const QUrl& url : drag.fileUrls)
        if (::access(QFile::encodeName(url.toLocalFile()).constData(), R_OK) == 0)
            readable.push_back(url);

    if (!drag.promisedFileUrls && promiseReceivers.empty() && readable.isEmpty() && !offersSnapshot(drag))
        return false;

    if (!readable.isEmpty()) {
        Log::debug([&] { return QStringLiteral("Shelf drop: %1 file URL(s)").arg(readable.size()); });
        completion(readable);
        return true;
    }

    const QString scratch = scratchDirectory();
    if (drag.promisedFileUrls) {
        const QList<QUrl> promised = receiveCarbonPromise(drag, scratch);
        if (!promised.isEmpty()) {
            Log::debug([&] {
                return QStringLiteral("Shelf drop: Carbon promise delivered %1 file(s)").arg(promised.size());
            });
            finish(promised, std::move(completion));
            return true;
        }
        Log::debug("Shelf drop: Carbon promise delivered nothing \u2014 falling through");
    }

    QStringList names;
    for (const auto& receiver : promiseReceivers)
        names += receiver->fileNames();
    Snapshot snapshot = dataSnapshot(drag, names);

    if (!promiseReceivers.empty()) {
        Log::debug([&] {
            return QStringLiteral("Shelf drop: calling in %1 file promise(s)").arg(promiseReceivers.size());
        });
        awaitPromises(promiseReceivers, scratch, std::move(snapshot), std::move(completion));
        return true;
    }

    const QList<QUrl> written = writeSnapshot(snapshot, scratch);
    if (!written.isEmpty()) {
        Log::debug("Shelf drop: pasteboard image data");
        finish(written, std::move(completion));
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(scratch).toStdString(), ignored);
    return false;
}

std::vector<std::shared_ptr<platform::FilePromiseReceiver>> ShelfDrop::receivers(const DragData& drag)
{
    return drag.receivers;
}

QString ShelfDrop::scratchDirectory()
{
    // The temporary folder is shared on Linux: ours stays ours.
    const QString temp = platform::platform().paths().tempDir();
    QDir().mkpath(temp);
    const QString folder = temp + QStringLiteral("/shelf-promise-") +
                           QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

QList<QUrl> ShelfDrop::receiveCarbonPromise(const DragData&, const QString&)
{
    // The older kind of promise has no counterpart on Linux.
    return {};
}

ShelfDrop::Snapshot ShelfDrop::dataSnapshot(const DragData& drag, const QStringList& names)
{
    Snapshot snapshot;
    for (size_t i = 0; i < drag.items.size(); ++i) {
        const DragData::Item& item = drag.items[i];
        for (const SnapshotType& type : snapshotTypes) {
            const auto found = item.data.constFind(QString::fromLatin1(type.type));
            if (found == item.data.constEnd())
                continue;
            QByteArray data = *found;
            if (QLatin1String(type.type) == QLatin1String("image/tiff"))
                data = tiffAsPng(data);
            if (data.isEmpty())
                continue;
            QString name = qsizetype(i) < names.size() ? plainName(names[qsizetype(i)]) : QString();
            if (name.isEmpty())
                name = QStringLiteral("Dropped Image %1.%2").arg(i + 1).arg(QLatin1String(type.extension));
            snapshot.push_back({std::move(data), name});
            break;
        }
    }
    return snapshot;
}

void ShelfDrop::awaitPromises(const std::vector<std::shared_ptr<platform::FilePromiseReceiver>>& receivers,
                              const QString& folder, Snapshot snapshot, Completion completion)
{
    int expected = 0;
    for (const auto& receiver : receivers)
        expected += std::max<int>(1, int(receiver->fileTypes().size()));
    const auto wait = std::make_shared<PromiseWait>(expected);
    const auto kept = std::make_shared<const Snapshot>(std::move(snapshot));
    const auto done = std::make_shared<const Completion>(std::move(completion));

    for (const auto& receiver : receivers) {
        receiver->receive(
            folder, [wait, folder, kept, done](const QString& path, const std::optional<QString>& error) {
                if (wait->report(path, error))
                    deliver(*wait, folder, *kept, *done);
            });
    }
    platform::platform().mainQueue().after(3.0, [wait, folder, kept, done] {
        if (!wait->timeOut())
            return;
        Log::debug("Shelf: promise timeout \u2014 falling back to pasteboard data");
        deliver(*wait, folder, *kept, *done);
    });
}

void ShelfDrop::deliver(const PromiseWait& wait, const QString& folder, const Snapshot& snapshot,
                        const Completion& completion)
{
    // Only files whose sources said they were written: after a time-out the
    // folder may hold one still being written.
    QList<QUrl> files;
    for (const QString& path : wait.received())
        if (isEntryOf(path, folder))
            files.push_back(QUrl::fromLocalFile(QDir::cleanPath(path)));
    if (files.isEmpty())
        files = writeSnapshot(snapshot, folder);
    finish(files, completion);
}

QList<QUrl> ShelfDrop::writeSnapshot(const Snapshot& snapshot, const QString& folder)
{
    QList<QUrl> written;
    for (const SnapshotEntry& entry : snapshot) {
        QFile file(folder + QLatin1Char('/') + entry.name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            continue;
        if (file.write(entry.data) != entry.data.size()) {
            file.remove();
            continue;
        }
        file.close();
        written.push_back(QUrl::fromLocalFile(file.fileName()));
    }
    return written;
}

void ShelfDrop::finish(const QList<QUrl>& urls, Completion completion)
{
    platform::platform().mainQueue().post([urls, completion = std::move(completion)] { completion(urls); });
}

} // namespace quillon
