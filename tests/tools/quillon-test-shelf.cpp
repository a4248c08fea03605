// Shows the open shelf at the notch of the first display:
// `quillon-test-shelf ITEM…`, each ITEM one path or several joined by "::".
// Prints `ready <x> <y> <width> <height>` (X11 coordinates) once the opening
// has settled, then one line per view callback. Reads commands on standard
// input: `close` plays the closing and prints `closed`; `copy`, `cut` and
// `preview` stand for Ctrl+C, Ctrl+X and Space; `where NAME` prints
// `at NAME <x> <y>` (the centre of `card0`, `copy`, `airdrop`, `convert` or
// `format0` on screen) or `hidden NAME`. Stands in for the shelf
// controller as far as the panel needs it: files to send go to the share
// service, the pointer's moves give the hover feedback, and a drag of files
// from elsewhere shows the drop zones.

#include "notch/NotchGeometry.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "shelf/ActionStrip.h"
#include "shelf/CellsView.h"
#include "shelf/ConvertZoneView.h"
#include "shelf/HoverButton.h"
#include "shelf/DropPlateView.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfView.h"

#include <QApplication>
#include <QCursor>
#include <QSocketNotifier>
#include <QTimer>
#include <QUuid>
#include <cstdio>
#include <unistd.h>

using namespace quillon;

namespace {

void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString paths(const QList<QUrl>& urls)
{
    QStringList list;
    for (const QUrl& url : urls)
        list.append(url.toLocalFile());
    return list.join(' ');
}

// Where a part of the panel shows on screen, for the tests to click.
void where(ShelfView& view, const QByteArray& name)
{
    QWidget* widget = nullptr;
    QPointF centre;
    if (name == "card0" && !view.cells().items().isEmpty()) {
        widget = &view.cells();
        centre = CardGeometry::card(0).center();
    } else if (name == "copy" || name == "airdrop") {
        widget = name == "copy" ? view.strip().copyButton() : view.strip().airDropButton();
    } else if (name == "convert" && view.targetAlphas().convert > 0) {
        widget = &view.convertZone();
    } else if (name == "format0" && !view.convertZone().buttons().isEmpty()) {
        widget = view.convertZone().buttons().front();
    }
    if (!widget || !widget->isVisibleTo(&view)) {
        say("hidden " + QString::fromUtf8(name));
        return;
    }
    if (widget != &view.cells())
        centre = QRectF(widget->rect()).center();
    const QPoint at = widget->mapToGlobal(centre.toPoint());
    say(QString("at %1 %2 %3").arg(QString::fromUtf8(name)).arg(at.x()).arg(at.y()));
}

QString ids(const QSet<QUuid>& set)
{
    return QString::number(set.size());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    platform::linux_::LinuxPlatform linuxPlatform;
    platform::setPlatform(&linuxPlatform);

    QList<ShelfItem> items;
    int files = 0;
    for (const QString& arg : QApplication::arguments().mid(1)) {
        ShelfItem item;
        item.id = QUuid::createUuid();
        for (const QString& path : arg.split("::", Qt::SkipEmptyParts))
            item.urls.append(QUrl::fromLocalFile(path));
        files += int(item.urls.size());
        if (!item.urls.isEmpty())
            items.append(item);
    }
    const auto hud = NotchGeometry::hudScreen();
    if (!hud) {
        std::fprintf(stderr, "quillon-test-shelf: no display\n");
        return 1;
    }
    const QRectF frame = ShelfLayout::shelfFrame(hud->notch, 0, int(items.size()), files);
    auto& overlays = platform::platform().overlayWindows();

    auto* view = new ShelfView(items, frame.size(), hud->notch.width(), hud->notch.height());
    view->setWindowFlag(Qt::FramelessWindowHint);
    view->onAdd = [](const QList<QUrl>& urls) { say("add " + paths(urls)); };
    view->onRemove = [](const QSet<QUuid>& set) { say("remove " + ids(set)); };
    auto& share = platform::platform().shareService();
    view->onAirDrop = [&share](const QList<QUrl>& urls) {
        say("airdrop " + paths(urls));
        QStringList files;
        for (const QUrl& url : urls)
            files.append(url.toLocalFile());
        share.send(files);
    };
    view->setShareAvailable(share.isAvailable());
    share.addAvailabilityHandler([view](bool available) {
        view->setShareAvailable(available);
        say(available ? "share-available" : "share-unavailable");
    });
    view->onDragOutAccepted = [](const QSet<QUuid>& set) { say("dragout-accepted " + ids(set)); };
    view->onSizeChanged = [] { say("size-changed"); };
    view->onConvert = [](const QList<QUrl>& urls, ShelfConvert::Format format) {
        say("convert " + ShelfConvert::rawValue(format) + " " + paths(urls));
    };
    view->onCutStaged = [](const QSet<QUuid>& set, int count) {
        say("cut-staged " + ids(set) + " " + QString::number(count));
    };
    view->onMouseEntered = [] { say("mouse-entered"); };
    view->onMouseExited = [] { say("mouse-exited"); };
    view->onDragHover = [] { say("drag-hover"); };

    overlays.prepare(*view, platform::OverlayStyle{27, false, false});
    if (!overlays.translucent()) {
        view->setOpaqueWindow(true);
        view->onShapeChanged = [&overlays, view](const QPainterPath& outline) {
            overlays.setShape(*view, outline);
        };
    }
    overlays.setFrame(*view, frame);

    auto& pointer = platform::platform().pointer();
    // The controller's pointer monitor: feedback while over the panel (grown
    // by a point above and below).
    pointer.addMoveMonitor([view] {
        const QPoint at = QCursor::pos();
        if (!view->geometry().adjusted(0, -1, 0, 1).contains(at))
            return;
        QWidget* hit = view->childAt(view->mapFromGlobal(at));
        view->applyPointerFeedback(hit ? hit : view);
    });
    // The controller's drag watch: a drag of files from elsewhere offers the
    // drop zones and the plate; nothing changes while our own drag-out runs.
    auto& probe = platform::platform().dragProbe();
    pointer.addDragMonitor([view, &probe](platform::DragPhase phase) {
        if (view->cells().isDraggingOut)
            return;
        if (phase == platform::DragPhase::dragged && probe.carriesFiles()) {
            if (view->externalDragActive)
                return;
            view->dragConvertOptions = ShelfConvert::options(probe.fileURLs());
            view->externalDragActive = true;
            view->updateRightSide();
            view->dropPlate().show();
            view->layoutBody();
        } else if (phase == platform::DragPhase::ended && view->externalDragActive) {
            view->dragConvertOptions.clear();
            view->externalDragActive = false;
            view->updateRightSide();
            view->dropPlate().hide();
        }
    });
    view->animateIn();
    overlays.show(*view);

    const Spring spring{1, 430, 40};
    QTimer::singleShot(int(spring.settlingDuration() * 1000) + 300, view, [view] {
        const QRect g = view->geometry();
        say(QString("ready %1 %2 %3 %4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
    });

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray buffer;
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            // The end of the input changes nothing: the panel stays.
            input.setEnabled(false);
            return;
        }
        buffer.append(chunk, int(n));
        int end;
        while ((end = int(buffer.indexOf('\n'))) >= 0) {
            const QByteArray line = buffer.left(end).trimmed();
            buffer.remove(0, end + 1);
            if (line == "close")
                view->animateOut([] { say("closed"); });
            else if (line == "copy")
                view->copyToPasteboard(false);
            else if (line == "cut")
                view->copyToPasteboard(true);
            else if (line == "preview")
                view->toggleQuickLook();
            else if (line.startsWith("where "))
                where(*view, line.mid(6));
        }
    });

    const int status = QApplication::exec();
    delete view;
    platform::setPlatform(nullptr);
    return status;
}
