// A window hosting the snippet body editor, to look at its completion list
// on a real desktop: run it under scripts/with-desktop and type "{".
#include "ui/SnippetBodyEditor.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    quillon::SnippetBodyEditor editor;
    editor.setWindowTitle(QStringLiteral("quillon snippet editor"));
    editor.setText(QStringLiteral("Dear team,\n\nThe build of "));
    editor.moveCursor(QTextCursor::End);
    editor.resize(520, 260);
    editor.move(120, 120);
    editor.show();
    editor.activateWindow();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
