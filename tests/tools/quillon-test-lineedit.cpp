// One window with a line edit, for the desktop tests of pasting and typing:
// it pastes on Ctrl+V and moves its caret on Left like any text field. It
// prints "ready <window>" once shown, then "text <text>" on every change
// (line breaks written as \n) and "key tab" for each Tab it receives.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

namespace {

// A Tab moves the focus and changes no text: it is told on its own.
class TabReporter final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab) {
            std::printf("key tab\n");
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("quillon line edit"));
    edit.resize(400, 60);
    edit.move(100, 300);
    TabReporter tabs;
    edit.installEventFilter(&tabs);
    QObject::connect(&edit, &QLineEdit::textChanged, [](const QString& text) {
        QString line = text;
        line.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        std::printf("text %s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    edit.show();
    edit.activateWindow();
    QTimer::singleShot(0, [&edit] {
        std::printf("ready %llu\n", static_cast<unsigned long long>(edit.winId()));
        std::fflush(stdout);
    });
    return app.exec();
}
