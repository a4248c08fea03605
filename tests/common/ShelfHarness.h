#pragma once

// The open shelf in its harness (tools/quillon-test-shelf), for the desktop
// tests. Include only from tests/desktop, whose targets define
// QUILLON_TEST_BIN_DIR.

#include "common/Desktop.h"
#include "common/Typist.h"

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <optional>

namespace quillon::testing {

/// A program's output, read line by line as it comes.
class Lines {
public:
    explicit Lines(QProcess& process)
        : m_process(process)
    {
    }
    bool has(const QString& line)
    {
        read();
        return m_text.split('\n').contains(line);
    }
    QString startingWith(const QString& prefix)
    {
        read();
        for (const QString& line : m_text.split('\n')) {
            if (line.startsWith(prefix))
                return line;
        }
        return {};
    }
    /// Forgets what was read so far, so that a line can be waited for again.
    void clear()
    {
        read();
        m_text.clear();
    }
    const QString& text() const { return m_text; }

private:
    void read() { m_text += QString::fromUtf8(m_process.readAllStandardOutput()); }

    QProcess& m_process;
    QString m_text;
};

/// Presses the left button at `from`, moves to `to` in small steps and
/// releases it there, as a hand would.
inline void dragWithButton(Typist& typist, const QPoint& from, const QPoint& to)
{
    typist.moveTo(from.x(), from.y());
    waitFor([] { return false; }, 150);
    typist.button(1, true);
    constexpr int steps = 30;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        typist.moveTo(at.x(), at.y());
        waitFor([] { return false; }, 40);
    }
    waitFor([] { return false; }, 200);
    typist.button(1, false);
}

/// A button click at `at`.
inline void clickAt(Typist& typist, const QPoint& at, uint8_t button = 1)
{
    typist.moveTo(at.x(), at.y());
    waitFor([] { return false; }, 150);
    typist.button(button, true);
    typist.button(button, false);
}

/// The harness showing one shelf item per argument; `frame` is the panel
/// on screen once it has settled.
class ShelfHarness {
    // Before `out`, which reads it.
    QProcess m_process;

public:
    explicit ShelfHarness(const QStringList& items)
        : out(m_process)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUILLON_TEST_BIN_DIR "/quillon-test-shelf"), items);
        if (!waitFor([&] { return !out.startingWith("ready ").isEmpty(); }))
            return;
        const QStringList parts = out.startingWith("ready ").split(' ');
        frame = QRect(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(), parts[4].toInt());
    }
    ~ShelfHarness()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool ready() const { return !frame.isEmpty(); }
    void send(const QString& command) { m_process.write((command + '\n').toUtf8()); }
    /// Where a named part of the panel shows now (see the harness); none
    /// while it is hidden.
    std::optional<QPoint> where(const QString& name)
    {
        out.clear();
        send("where " + name);
        QString line;
        waitFor([&] {
            line = out.startingWith("at " + name + " ");
            return !line.isEmpty() || out.has("hidden " + name);
        });
        if (line.isEmpty())
            return std::nullopt;
        const QStringList parts = line.split(' ');
        return QPoint(parts.value(2).toInt(), parts.value(3).toInt());
    }
    /// Waits for a line of output.
    bool said(const QString& line, int timeoutMs = patientMs)
    {
        return waitFor([&] { return out.has(line); }, timeoutMs);
    }

    QRect frame;
    Lines out;
};

} // namespace quillon::testing
