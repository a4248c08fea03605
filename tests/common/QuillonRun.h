#pragma once

// A quillon process of a desktop test's own. Include only from tests/desktop,
// whose targets define QUILLON_BINARY.

#include "BuildInfoValues.h"
#include "common/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

namespace quillon::testing {

/// Quillon with private folders under `home` and the given settings (the
/// JSON of the standard defaults domain).
class QuillonRun {
public:
    QuillonRun(const QTemporaryDir& home, const QByteArray& settingsJson)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", home.path() + "/config");
        env.insert("XDG_STATE_HOME", home.path() + "/state");
        env.insert("XDG_DATA_HOME", home.path() + "/data");
        QDir().mkpath(home.path() + "/config/Quillon");
        QFile settings(home.path() + "/config/Quillon/" QUILLON_APP_ID ".json");
        if (settings.open(QIODevice::WriteOnly))
            settings.write(settingsJson);
        process.setProcessEnvironment(env);
        // A crash test must not leave a core file behind.
        process.setChildProcessModifier([] {
            const rlimit none{0, 0};
            setrlimit(RLIMIT_CORE, &none);
        });
        logPath = home.path() + "/state/Quillon/debug.log";
    }
    /// With diagnostics on or off and nothing else set.
    QuillonRun(const QTemporaryDir& home, bool diagnostics)
        : QuillonRun(home, diagnostics
                               ? QByteArray(R"({"diagnostics.logging": {"type": "bool", "value": true}})")
                               : QByteArray("{}"))
    {
    }
    ~QuillonRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            process.waitForFinished(10000);
        }
    }

    bool start(const QStringList& arguments = {})
    {
        process.start(QUILLON_BINARY, arguments);
        return process.waitForStarted(5000);
    }
    /// Without a tray host the settings window opens at launch and is
    /// brought forward; a test that types into its own window waits for
    /// that first, so the settings window cannot take the focus afterwards.
    /// Answers whether it came (a run with a tray opens no window).
    bool waitForSettingsWindow(int timeoutMs = quillon::testing::patientMs)
    {
        const QString pid = QString::number(process.processId());
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            const QString active = output("xprop", {"-root", "_NET_ACTIVE_WINDOW"}).section('#', 1).trimmed();
            if (!active.isEmpty() && active != "0x0" &&
                output("xprop", {"-id", active, "_NET_WM_PID"}).section('=', 1).trimmed() == pid) {
                // It may be brought forward once more while it opens.
                QThread::msleep(300);
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }
    QString log() const
    {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QProcess process;
    QString logPath;

private:
    static QString output(const QString& program, const QStringList& arguments)
    {
        QProcess run;
        run.start(program, arguments);
        run.waitForFinished(2000);
        return QString::fromUtf8(run.readAllStandardOutput());
    }
};

} // namespace quillon::testing
