// One window with a line edit, for the desktop tests of pasting and typing:
// it pastes on Ctrl+V and moves its caret on Left like any text field. It
// prints "ready <window>" once shown and then "text <text>" on every change
// (line breaks written as \n).

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLineEdit edit;
    edit.setWindowTitle(QStringLiteral("quillon line edit"));
    edit.resize(400, 60);
    edit.move(100, 300);
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
