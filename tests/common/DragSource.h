#pragma once

// A drag source program of a desktop test. Include only from tests/desktop.

#include "common/Desktop.h"

#include <QProcess>
#include <QRect>
#include <QStringList>

namespace quillon::testing {

/// Runs a drag source (tools/quillon-test-dragsource or gtk-dragsource.py)
/// and learns where its window shows from its "ready" line.
class DragSource {
public:
    DragSource(const QString& program, const QStringList& arguments)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] {
            while (m_process.canReadLine()) {
                const QStringList parts = QString::fromUtf8(m_process.readLine()).trimmed().split(' ');
                if (parts.value(0) == "ready")
                    area = QRect(parts.value(1).toInt(), parts.value(2).toInt(), parts.value(3).toInt(),
                                 parts.value(4).toInt());
            }
        });
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(program, arguments);
    }
    ~DragSource()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    bool waitReady()
    {
        return waitFor([this] { return !area.isEmpty(); }, 10000);
    }

    QRect area;

private:
    QProcess m_process;
};

} // namespace quillon::testing
