// A Qt drag source for the desktop tests: one window that drags the files
// named on the command line as URLs once the pointer moves with the button
// held. Prints "ready <x> <y> <width> <height>" (global) once shown, and
// "dropped <action>" when a drag ends.
//
//   quillon-test-dragsource FILE…

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

namespace {

class Source : public QWidget {
public:
    explicit Source(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { m_press = event->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton) ||
            (event->position().toPoint() - m_press).manhattanLength() < 4)
            return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(m_urls);
        drag->setMimeData(data);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("dropped %d\n", int(action));
        std::fflush(stdout);
    }

private:
    QList<QUrl> m_urls;
    QPoint m_press;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : app.arguments().mid(1))
        urls.push_back(QUrl::fromLocalFile(path));
    Source window(urls);
    window.setWindowTitle(QStringLiteral("quillon-test-dragsource"));
    window.setGeometry(60, 120, 200, 160);
    window.show();
    QTimer::singleShot(300, &window, [&] {
        const QPoint origin = window.mapToGlobal(QPoint(0, 0));
        std::printf("ready %d %d %d %d\n", origin.x(), origin.y(), window.width(), window.height());
        std::fflush(stdout);
    });
    return app.exec();
}
