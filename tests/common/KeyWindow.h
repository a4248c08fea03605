#pragma once

// The key test window of tests/tools, for desktop tests (whose targets define
// QUILLON_TEST_BIN_DIR).

#include "common/Desktop.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <vector>
#include <xcb/xcb.h>

namespace quillon::testing {

/// The test window: the keys and focus changes it received.
class KeyWindow {
public:
    struct Event {
        QString kind;
        int code = 0;
        int state = 0;
    };

    KeyWindow()
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { read(); });
        m_process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-keywindow"), {});
    }
    ~KeyWindow()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    bool waitReady()
    {
        return quillon::testing::waitFor([this] { return m_ready; });
    }

    std::vector<Event> events;
    /// The window's X id, as the tool prints it.
    QString windowId;

    /// Presses and releases of one key, in order.
    std::vector<Event> of(int code) const
    {
        std::vector<Event> result;
        for (const Event& e : events) {
            if ((e.kind == "press" || e.kind == "release") && e.code == code)
                result.push_back(e);
        }
        return result;
    }
    int count(const QString& kind, int code) const
    {
        int n = 0;
        for (const Event& e : events)
            n += e.kind == kind && e.code == code;
        return n;
    }
    /// Waits until a key's release has arrived `times` times: every key typed
    /// before it has been delivered by then.
    bool waitReleased(int code, int times = 1)
    {
        return quillon::testing::waitFor([&] { return count("release", code) >= times; });
    }
    /// Blocks (no event loop) until the window has received a key event:
    /// for a test whose main thread is meant to be busy.
    bool blockingWaitFor(const QString& kind, int code, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (count(kind, code) == 0 && timer.elapsed() < timeoutMs)
            m_process.waitForReadyRead(int(std::max<qint64>(1, timeoutMs - timer.elapsed())));
        return count(kind, code) > 0;
    }
    /// Focus changes of grabs that activated (one per grab).
    int grabFocusOuts() const
    {
        int n = 0;
        for (const Event& e : events)
            n += e.kind == "focus-out" && e.code == XCB_NOTIFY_MODE_GRAB;
        return n;
    }
    bool lostFocus() const
    {
        for (const Event& e : events) {
            if (e.kind == "focus-out")
                return true;
        }
        return false;
    }

private:
    void read()
    {
        while (m_process.canReadLine()) {
            const QStringList parts = QString::fromUtf8(m_process.readLine()).trimmed().split(' ');
            if (parts.value(0) == "ready") {
                m_ready = true;
                windowId = parts.value(1);
                continue;
            }
            if (m_ready)
                events.push_back({parts.value(0), parts.value(1).toInt(), parts.value(2).toInt()});
        }
    }
    QProcess m_process;
    bool m_ready = false;
};

} // namespace quillon::testing
