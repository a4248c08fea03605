#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

namespace quillon::platform {

/// Looks into a drag while it is still under way, before any drop: which
/// files it carries and which content types it offers.
///
/// Every new owner of the drag selection is a new drag. What the probe learns
/// about a drag is worked out once, on the first question, and kept until the
/// next one starts.
class DragProbe {
public:
    virtual ~DragProbe() = default;

    /// Goes up by one for every new drag. Asked on every pointer move of a
    /// drag, so it never waits on the display server.
    virtual int changeCount() = 0;
    /// Whether the current drag carries files, known or of unknown types.
    virtual bool carriesFiles() = 0;
    /// The local files of the current drag, when its source shows them.
    virtual QList<QUrl> fileURLs() = 0;
    /// The MIME types the current drag offers, when its source shows them.
    virtual QStringList types() = 0;

    /// Our own drag-out takes the drag selection too: while it runs, the probe
    /// answers from these files and converts nothing.
    virtual void noteOwnDrag(const QList<QUrl>& urls) = 0;
    virtual void endOwnDrag() = 0;
};

} // namespace quillon::platform
