// The pasteboard against a real X server: what it writes is what another
// client gets when it asks for the CLIPBOARD selection.
#include "common/Desktop.h"
#include "platform/linux/QtPasteboard.h"
#include "platform/linux/X11Connection.h"

#include <gtest/gtest.h>

using namespace quillon::platform::linux_;

namespace {

/// Another client asking for the clipboard as UTF-8 text, as a paste does.
class Paster {
public:
    Paster()
        : m_x(X11Connection::open())
    {
        xcb_connection_t* c = m_x->get();
        m_window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, m_window, m_x->root(), 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        m_x->internAtoms({"CLIPBOARD", "UTF8_STRING", "QUILLON_PASTE"});
        m_x->addEventHandler([this](const xcb_generic_event_t* event) {
            if ((event->response_type & 0x7f) == XCB_SELECTION_NOTIFY)
                received(reinterpret_cast<const xcb_selection_notify_event_t*>(event));
        });
    }

    /// The clipboard's text; none when nobody owns it or the owner refused.
    std::optional<QString> paste()
    {
        m_answered = false;
        m_text.reset();
        xcb_convert_selection(m_x->get(), m_window, m_x->atom("CLIPBOARD"), m_x->atom("UTF8_STRING"),
                              m_x->atom("QUILLON_PASTE"), XCB_CURRENT_TIME);
        m_x->flush();
        EXPECT_TRUE(quillon::testing::waitFor([this] { return m_answered; })) << "no answer to the paste";
        return m_text;
    }

private:
    void received(const xcb_selection_notify_event_t* notify)
    {
        m_answered = true;
        if (notify->property == XCB_NONE)
            return;
        XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_x->get(),
                                   xcb_get_property(m_x->get(), 1, m_window, notify->property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16),
                                   nullptr));
        if (reply)
            m_text = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                       xcb_get_property_value_length(reply.get()));
    }

    std::unique_ptr<X11Connection> m_x;
    xcb_window_t m_window = 0;
    bool m_answered = false;
    std::optional<QString> m_text;
};

TEST(Pasteboard, AnotherClientPastesTheWrittenTextUntilItIsCleared)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    Paster paster;
    ASSERT_TRUE(pasteboard.writeString(QStringLiteral("Grüße · Invoice 42")));
    EXPECT_EQ(paster.paste(), QStringLiteral("Grüße · Invoice 42"));

    pasteboard.clear();
    EXPECT_EQ(paster.paste(), std::nullopt);
}

} // namespace
