#pragma once

// The test window program of tests/tools, for desktop tests (whose targets
// define QUILLON_TEST_BIN_DIR).

#include "common/Desktop.h"
#include "platform/WindowControl.h"

#include <QProcess>
#include <QStringList>
#include <vector>

namespace quillon::testing {

/// Our test window program, started with some windows.
class TestWindows {
public:
    explicit TestWindows(const QStringList& arguments)
    {
        m_process.setProgram(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-window"));
        m_process.setArguments(arguments);
        m_process.start();
        const int expected = int(arguments.count("--title"));
        waitFor([&] {
            readLines();
            return int(ids.size()) == expected;
        });
    }
    /// Waits for a line other than the window ids.
    bool waitForLine(const QString& wanted, int timeoutMs = quillon::testing::patientMs)
    {
        return waitFor(
            [&] {
                readLines();
                return lines.contains(wanted);
            },
            timeoutMs);
    }
    ~TestWindows()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    int32_t pid() const { return int32_t(m_process.processId()); }
    void command(const QString& line) { m_process.write((line + "\n").toUtf8()); }
    bool finished() { return m_process.state() == QProcess::NotRunning; }
    QProcess& process() { return m_process; }

    /// Other lines it printed ("tray registered", …).
    QStringList lines;
    std::vector<platform::WindowId> ids;

private:
    void readLines()
    {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith("window "))
                ids.push_back(line.mid(7).toUInt());
            else
                lines << line;
        }
    }

    QProcess m_process;
};

} // namespace quillon::testing
