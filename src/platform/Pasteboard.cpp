#include "platform/Pasteboard.h"

#include "platform/UriList.h"

namespace quillon::platform {

std::vector<PasteboardItem> Pasteboard::fileURLItems(const QList<QUrl>& urls, bool cut)
{
    QStringList encoded;
    for (const QUrl& url : urls)
        encoded.append(QString::fromUtf8(url.toEncoded()));
    // A URI list ends its lines with CR LF; the file managers' list with LF.
    std::vector<PasteboardItem> items{
        {uriListType, encoded.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")},
        {gnomeCopiedFilesType, QString(cut ? "cut" : "copy") + '\n' + encoded.join('\n')},
    };
    if (cut)
        items.push_back({kdeCutSelectionType, QStringLiteral("1")});
    return items;
}

QList<QUrl> Pasteboard::fileURLs()
{
    const std::optional<QString> list = string(uriListType);
    return list ? localFilesOfUriList(list->toUtf8()) : QList<QUrl>();
}

} // namespace quillon::platform
