#pragma once

#include "BuildInfoValues.h"

#include <QObject>
#include <QProcess>
#include <QString>

namespace quillon::testing {

/// The line-edit test program, focused once it says it is ready; `text`
/// follows what it holds.
struct LineEdit {
    QProcess process;
    QString text;
    bool ready = false;
    int tabs = 0;
    LineEdit()
    {
        process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-lineedit"), {});
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] {
            while (process.canReadLine()) {
                const QString line = QString::fromUtf8(process.readLine()).chopped(1);
                if (line.startsWith("text "))
                    text = line.mid(5);
                else if (line.startsWith("ready"))
                    ready = true;
                else if (line == "key tab")
                    ++tabs;
            }
        });
    }
    ~LineEdit()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

} // namespace quillon::testing
