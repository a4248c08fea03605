// A stand-in MPRIS music player on the session bus, for the desktop tests.
// Owns org.mpris.MediaPlayer2.<name> (the first argument, "quillontest" by
// default). Commands on standard input:
//   play <title words…>|<artist words…>     pause     stop
//   freeze <ms>      stalls: nothing answered until then
//   garble           PlaybackStatus and Metadata of the wrong types
// Method calls (PlayPause, Next, Previous, …) are printed as "call <member>".

#include "TestDBusService.h"

#include <QThread>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString name = QStringLiteral("org.mpris.MediaPlayer2.") +
                         (argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("quillontest"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    testservice::Objects objects(bus);
    const QString path = QStringLiteral("/org/mpris/MediaPlayer2");
    const QString player = QStringLiteral("org.mpris.MediaPlayer2.Player");
    objects.add(
        path,
        {{QStringLiteral("org.mpris.MediaPlayer2"), {{QStringLiteral("Identity"), QStringLiteral("Test")}}},
         {player,
          {{QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped")},
           {QStringLiteral("Metadata"), QVariantMap()}}}},
        false);
    return testservice::run(app, bus, name, objects, [&](const QStringList& words) {
        const QString command = words.first();
        if (command == QLatin1String("play")) {
            const QStringList track = words.mid(1).join(QLatin1Char(' ')).split(QLatin1Char('|'));
            const QVariantMap metadata{{QStringLiteral("xesam:title"), track.value(0)},
                                       {QStringLiteral("xesam:artist"), QStringList{track.value(1)}}};
            objects.set(path, player, QStringLiteral("Metadata"), metadata);
            objects.set(path, player, QStringLiteral("PlaybackStatus"), QStringLiteral("Playing"));
        } else if (command == QLatin1String("pause")) {
            objects.set(path, player, QStringLiteral("PlaybackStatus"), QStringLiteral("Paused"));
        } else if (command == QLatin1String("stop")) {
            objects.set(path, player, QStringLiteral("PlaybackStatus"), QStringLiteral("Stopped"));
        } else if (command == QLatin1String("freeze")) {
            QThread::msleep(words.value(1).toULong());
        } else if (command == QLatin1String("garble")) {
            objects.set(path, player, QStringLiteral("Metadata"), QStringLiteral("not a map"));
            objects.set(path, player, QStringLiteral("PlaybackStatus"), 7);
        }
    });
}
