#include "shelf/DragData.h"

#include "platform/DragProbe.h"
#include "platform/Platform.h"
#include "platform/UriList.h"

#include <QMimeData>

namespace quillon {

namespace {

const QString uriListType = QStringLiteral("text/uri-list");

} // namespace

DragData DragData::fromMimeData(const QMimeData& mime)
{
    DragData drag;
    drag.types = mime.formats();
    if (mime.hasFormat(uriListType))
        drag.fileUrls = platform::localFilesOfUriList(mime.data(uriListType));
    for (const QUrl& url : std::as_const(drag.fileUrls))
        drag.items.push_back({url, std::nullopt, {}});

    Item images;
    for (const char* type : {"image/png", "image/jpeg", "application/pdf", "image/tiff"}) {
        const QString name = QString::fromLatin1(type);
        if (mime.hasFormat(name))
            images.data.insert(name, mime.data(name));
    }
    if (!images.data.isEmpty()) {
        // The image data belongs to the drag's first item.
        if (drag.items.empty())
            drag.items.push_back(std::move(images));
        else
            drag.items.front().data = images.data;
    }
    drag.receivers = platform::platform().filePromises().receivers(mime);
    return drag;
}

DragData DragData::fromProbe(platform::DragProbe& probe)
{
    DragData drag;
    drag.types = probe.types();
    drag.fileUrls = probe.fileURLs();
    for (const QUrl& url : std::as_const(drag.fileUrls))
        drag.items.push_back({url, std::nullopt, {}});
    if (drag.fileUrls.isEmpty() && probe.carriesFiles()) {
        drag.filesOfUnknownTypes = true;
        drag.items.push_back({});
    }
    return drag;
}

} // namespace quillon
