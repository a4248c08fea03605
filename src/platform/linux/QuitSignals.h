#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace quillon::platform::linux_ {

/// Turns SIGTERM and SIGINT into a call on the main thread. The handler only
/// writes a byte into a pipe; everything else happens in the event loop.
class QuitSignals final : public QObject {
public:
    explicit QuitSignals(std::function<void(int signal)> onSignal);
    ~QuitSignals() override;

private:
    std::function<void(int)> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quillon::platform::linux_
