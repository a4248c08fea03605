#pragma once

// A test service or test window of tests/tools, for the desktop tests.
// Include only from tests/desktop, whose targets define QUILLON_TEST_BIN_DIR.

#include "common/Desktop.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace quillon::testing {

// One of our test services (or test windows), driven through its standard
// input and read through its standard output.
class Service {
public:
    explicit Service(const QString& program, const QStringList& arguments = {})
    {
        m_process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/") + program, arguments);
        started = waitForLine(QStringLiteral("ready"));
    }
    ~Service() { stop(); }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(3000)) {
            m_process.terminate();
            m_process.waitForFinished(3000);
        }
    }
    /// Ends it at once, mid-call if need be.
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    /// Sends a command without waiting for it.
    void post(const QString& command) { m_process.write((command + '\n').toUtf8()); }
    /// Sends a command and waits until the service has carried it out.
    bool send(const QString& command)
    {
        m_process.write((command + '\n').toUtf8());
        return waitForLine(QStringLiteral("done ") + command.section(' ', 0, 0));
    }
    bool waitForLine(const QString& prefix, int timeoutMs = quillon::testing::patientMs)
    {
        return quillon::testing::waitFor(
            [&] {
                while (m_process.canReadLine()) {
                    const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
                    if (line.startsWith(prefix)) {
                        lines << line;
                        return true;
                    }
                    lines << line;
                }
                return false;
            },
            timeoutMs);
    }

    bool started = false;
    QStringList lines;

private:
    QProcess m_process;
};

} // namespace quillon::testing
