// Converts files as the shelf does, on this thread, and prints the outputs
// and the time the conversion took; bench/shelf-convert-cost runs it beside
// the usual command-line tools.
//
//   shelf-convert FORMAT TEMP_DIR INPUT...      (FORMAT: JPG, PNG, HEIC, TIFF, PDF, Clean, ZIP)

#include "platform/linux/LinuxXAttr.h"
#include "shelf/ShelfConvert.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto format = args.size() >= 4 ? quillon::ShelfConvert::fromRaw(args[1]) : std::nullopt;
    if (!format) {
        std::fprintf(stderr, "usage: shelf-convert FORMAT TEMP_DIR INPUT...\n");
        return 2;
    }
    QList<QUrl> inputs;
    for (const QString& path : args.mid(3))
        inputs.append(QUrl::fromLocalFile(path));
    quillon::platform::linux_::LinuxXAttr xattr;
    QElapsedTimer timer;
    timer.start();
    const QList<QUrl> outputs = quillon::ShelfConvert::convertNow(inputs, *format, args[2], xattr);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    for (const QUrl& output : outputs)
        std::printf("%s\n", qPrintable(output.toLocalFile()));
    std::printf("seconds %.3f\n", seconds);
    return outputs.isEmpty() ? 1 : 0;
}
