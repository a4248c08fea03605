#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

namespace quillon::platform {

/// Reads a `text/uri-list` (RFC 2483) as received from a drag or a
/// selection: only local files count, each as an absolute, clean path.
/// Comments, remote URLs and anything that does not parse are skipped.
QList<QUrl> localFilesOfUriList(const QByteArray& data);

} // namespace quillon::platform
