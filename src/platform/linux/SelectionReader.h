#pragma once

#include <QByteArray>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace quillon::platform::linux_ {

class X11Connection;

/// Reads another client's selection on a connection of our own, waiting at
/// most until a deadline: Qt's own reads wait seconds on an owner that does
/// not answer, and cannot be shortened.
///
/// One reader serves one thread at a time. Never read a selection this
/// process owns on the main thread: it would wait for itself. The main
/// thread reads through `SelectionReadThread` instead.
class SelectionReader {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    /// None when there is no X server.
    static std::unique_ptr<SelectionReader> open();
    ~SelectionReader();

    /// The owner's targets, by name; none when it did not answer.
    std::optional<QStringList> targets(const char* selection, Deadline deadline);
    /// The bytes under a target; none when it is not offered or the owner did
    /// not answer in time. Incremental transfers are followed.
    std::optional<QByteArray> read(const char* selection, const QString& target, Deadline deadline);

private:
    explicit SelectionReader(std::unique_ptr<X11Connection> x);
    xcb_generic_event_t* waitFor(Deadline deadline,
                                 const std::function<bool(const xcb_generic_event_t*)>& wanted);
    std::optional<QByteArray> readProperty(Deadline deadline);

    std::unique_ptr<X11Connection> m_x;
    xcb_window_t m_window = 0;
    xcb_atom_t m_property = 0;
};

} // namespace quillon::platform::linux_
