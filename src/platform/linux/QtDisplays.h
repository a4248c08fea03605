#pragma once

#include "platform/Displays.h"
#include "platform/Observers.h"

#include <QObject>

class QScreen;

namespace quillon::platform::linux_ {

/// Screens as Qt sees them (RandR outputs, or monitors set with
/// `xrandr --setmonitor`).
class QtDisplays final : public QObject, public Displays {
public:
    QtDisplays();

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    int addChangeHandler(std::function<void()> handler) override { return m_handlers.add(std::move(handler)); }
    void removeChangeHandler(int token) override { m_handlers.remove(token); }

private:
    void watch(QScreen* screen);
    void changed();

    Observers<> m_handlers;
};

} // namespace quillon::platform::linux_
