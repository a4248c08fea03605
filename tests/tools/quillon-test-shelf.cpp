// Shows the open shelf at the notch of the first display:
// `quillon-test-shelf ITEM…`, each ITEM one path or several joined by "::".
// Prints `ready <x> <y> <width> <height>` (X11 coordinates) once the opening
// has settled, then one line per view callback. Reads commands on standard
// input: `close` plays the closing and prints `closed`.

#include "notch/NotchGeometry.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "shelf/ShelfLayout.h"
#include "shelf/ShelfView.h"

#include <QApplication>
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
    view->onAirDrop = [](const QList<QUrl>& urls) { say("airdrop " + paths(urls)); };
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
        }
    });

    const int status = QApplication::exec();
    delete view;
    platform::setPlatform(nullptr);
    return status;
}
