#pragma once

#include "platform/DragProbe.h"

#include <QByteArray>

#include <memory>
#include <optional>

#include <xcb/xcb.h>

namespace quillon::platform::linux_ {

class X11Connection;

/// The drag probe of X11: XFixes reports every new owner of the drag
/// selection (XdndSelection), and the selection is converted on a window of
/// the probe's own connection to see what the drag carries.
class X11DragProbe final : public DragProbe {
public:
    /// Opens its own connection; without an X server it sees no drags.
    X11DragProbe();
    ~X11DragProbe() override;

    int changeCount() override;
    bool carriesFiles() override;
    QList<QUrl> fileURLs() override;
    QStringList types() override;
    void noteOwnDrag(const QList<QUrl>& urls) override;
    void endOwnDrag() override;

    /// How long a conversion may wait for the drag source's answer.
    static constexpr int answerWaitMs = 100;

private:
    void handle(const xcb_generic_event_t* event);
    /// Works out what the current drag carries, once per drag.
    void study();
    /// The drag selection converted to `target`; none when the source
    /// refuses or does not answer in time.
    std::optional<QByteArray> convert(xcb_atom_t target, xcb_atom_t* type = nullptr);
    QStringList atomNames(const xcb_atom_t* atoms, int count);
    QStringList ownerTypeList();

    std::unique_ptr<X11Connection> m_x;
    int m_handler = 0;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    uint8_t m_selectionNotify = 0;
    int m_changes = 0;
    xcb_window_t m_owner = XCB_WINDOW_NONE;

    int m_studied = -1;
    bool m_carries = false;
    QList<QUrl> m_files;
    QStringList m_types;
    std::optional<QList<QUrl>> m_own;

    xcb_atom_t m_awaited = XCB_ATOM_NONE;
    std::optional<xcb_selection_notify_event_t> m_answer;
};

} // namespace quillon::platform::linux_
