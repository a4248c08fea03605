#pragma once

// Client windows for the benchmarks that measure work over many of them.
// Include only from bench/.

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Connection.h"

#include <QByteArray>
#include <QThread>
#include <vector>

namespace quillon::bench {

/// Opens `count` plain windows on a connection of their own and closes them
/// when done.
class ManyWindows {
public:
    ManyWindows(platform::linux_::X11Connection& x, int count)
        : m_x(x)
    {
        for (int i = 0; i < count; ++i) {
            const xcb_window_t w = xcb_generate_id(x.get());
            xcb_create_window(x.get(), XCB_COPY_FROM_PARENT, w, x.root(), int16_t(10 + i), int16_t(10 + i),
                              200, 120, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, x.screen()->root_visual, 0,
                              nullptr);
            const QByteArray title = "bench window " + QByteArray::number(i);
            xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, w, x.atom("_NET_WM_NAME"),
                                x.atom("UTF8_STRING"), 8, uint32_t(title.size()), title.constData());
            xcb_map_window(x.get(), w);
            m_windows.push_back(w);
        }
        xcb_flush(x.get());
    }
    ~ManyWindows()
    {
        for (const xcb_window_t w : m_windows)
            xcb_destroy_window(m_x.get(), w);
        xcb_flush(m_x.get());
    }
    const std::vector<xcb_window_t>& windows() const { return m_windows; }

private:
    platform::linux_::X11Connection& m_x;
    std::vector<xcb_window_t> m_windows;
};

/// Until the window manager lists `count` windows (or ten seconds pass).
inline void awaitManaged(platform::linux_::X11Connection& owner, int count)
{
    platform::linux_::Ewmh ewmh(owner);
    for (int tries = 0;
         tries < 1000 && ewmh.clientList(true).value_or(std::vector<xcb_window_t>{}).size() < size_t(count);
         ++tries)
        QThread::msleep(10);
}

} // namespace quillon::bench
