// The pasteboard against a real X server: what it writes is what another
// client gets when it asks for the CLIPBOARD selection.
#include "common/Desktop.h"
#include "platform/linux/QtPasteboard.h"
#include "platform/linux/X11Connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QUrl>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace quillon::platform::linux_;
using quillon::platform::Pasteboard;
using quillon::platform::PasteboardItem;

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
    std::optional<QString> paste() { return paste("UTF8_STRING"); }

    /// The clipboard under a target, as UTF-8 text.
    std::optional<QString> paste(const char* target)
    {
        const std::optional<QByteArray> bytes = convert(target);
        return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
    }

    /// The names of the targets the owner offers.
    QStringList targets()
    {
        const std::optional<QByteArray> bytes = convert("TARGETS");
        QStringList names;
        if (!bytes)
            return names;
        const auto* atoms = reinterpret_cast<const xcb_atom_t*>(bytes->constData());
        for (qsizetype i = 0; i < bytes->size() / qsizetype(sizeof(xcb_atom_t)); ++i) {
            XcbReply<xcb_get_atom_name_reply_t> reply(
                xcb_get_atom_name_reply(m_x->get(), xcb_get_atom_name(m_x->get(), atoms[i]), nullptr));
            if (reply)
                names << QString::fromUtf8(xcb_get_atom_name_name(reply.get()),
                                           xcb_get_atom_name_name_length(reply.get()));
        }
        return names;
    }

    std::optional<QByteArray> convert(const char* target)
    {
        m_answered = false;
        m_text.reset();
        xcb_convert_selection(m_x->get(), m_window, m_x->atom("CLIPBOARD"), m_x->atom(target),
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
            m_text = QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                xcb_get_property_value_length(reply.get()));
    }

    std::unique_ptr<X11Connection> m_x;
    xcb_window_t m_window = 0;
    bool m_answered = false;
    std::optional<QByteArray> m_text;
};

/// Another application that owns the clipboard and answers on a thread of
/// its own, as a separate process would, with a password manager's hint.
class ForeignOwner {
public:
    ForeignOwner(QByteArray text, bool answers = true)
        : m_text(std::move(text))
        , m_answers(answers)
        , m_c(xcb_connect(nullptr, nullptr))
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        for (const char* name :
             {"CLIPBOARD", "TARGETS", "UTF8_STRING", "ATOM", "x-kde-passwordManagerHint"}) {
            XcbReply<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, 0, uint16_t(strlen(name)), name), nullptr));
            m_atoms[name] = reply->atom;
        }
        xcb_set_selection_owner(m_c, m_window, m_atoms["CLIPBOARD"], XCB_CURRENT_TIME);
        // A round trip: the server has made us the owner before anyone asks.
        std::free(
            xcb_get_selection_owner_reply(m_c, xcb_get_selection_owner(m_c, m_atoms["CLIPBOARD"]), nullptr));
        m_thread = std::thread([this] { serve(); });
    }
    ~ForeignOwner()
    {
        // A client message to itself wakes the serving thread to end it.
        xcb_client_message_event_t stop{};
        stop.response_type = XCB_CLIENT_MESSAGE;
        stop.format = 32;
        stop.window = m_window;
        stop.type = m_atoms["ATOM"];
        xcb_send_event(m_c, 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&stop));
        xcb_flush(m_c);
        m_thread.join();
        xcb_disconnect(m_c);
    }

private:
    void serve()
    {
        while (xcb_generic_event_t* event = xcb_wait_for_event(m_c)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CLIENT_MESSAGE) {
                std::free(event);
                return;
            }
            if (type == XCB_SELECTION_REQUEST && m_answers)
                answer(*reinterpret_cast<xcb_selection_request_event_t*>(event));
            std::free(event);
        }
    }

    void answer(const xcb_selection_request_event_t& request)
    {
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.property;
        notify.time = request.time;
        if (request.target == m_atoms["TARGETS"]) {
            const xcb_atom_t offered[] = {m_atoms["TARGETS"], m_atoms["UTF8_STRING"],
                                          m_atoms["x-kde-passwordManagerHint"]};
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                m_atoms["ATOM"], 32, 3, offered);
        } else if (request.target == m_atoms["UTF8_STRING"]) {
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                m_atoms["UTF8_STRING"], 8, uint32_t(m_text.size()), m_text.constData());
        } else if (request.target == m_atoms["x-kde-passwordManagerHint"]) {
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                m_atoms["x-kde-passwordManagerHint"], 8, 6, "secret");
        } else {
            notify.property = XCB_NONE;
        }
        xcb_send_event(m_c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(m_c);
    }

    QByteArray m_text;
    bool m_answers;
    xcb_connection_t* m_c;
    xcb_window_t m_window = 0;
    std::map<std::string, xcb_atom_t> m_atoms;
    std::thread m_thread;
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

TEST(Pasteboard, ReadsAnotherClientsTypesTextAndSecretHint)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    ForeignOwner owner("hunter2 / Grüße");
    ASSERT_TRUE(
        quillon::testing::waitFor([&] { return pasteboard.string(Pasteboard::plainTextType).has_value(); }));
    const QStringList types = pasteboard.types();
    EXPECT_TRUE(types.contains(Pasteboard::plainTextType)) << types.join(", ").toStdString();
    EXPECT_TRUE(types.contains("x-kde-passwordManagerHint"));
    EXPECT_TRUE(types.contains(Pasteboard::concealedType));
    EXPECT_FALSE(types.contains("TARGETS"));
    EXPECT_EQ(pasteboard.string(Pasteboard::plainTextType), QStringLiteral("hunter2 / Grüße"));
    EXPECT_EQ(pasteboard.string("x-kde-passwordManagerHint"), QStringLiteral("secret"));
    EXPECT_TRUE(pasteboard.string(Pasteboard::concealedType).has_value());
    EXPECT_EQ(pasteboard.string("text/html"), std::nullopt);
}

TEST(Pasteboard, SilentOwnerReadsAsNoneWithinABoundedWait)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    ForeignOwner owner("never sent", false);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(pasteboard.string(Pasteboard::plainTextType), std::nullopt);
    EXPECT_TRUE(pasteboard.types().isEmpty());
    EXPECT_LT(timer.elapsed(), 2500); // two texts' targets and one types read, each bounded
}

TEST(Pasteboard, ChangeCountGrowsWithEveryNewOwner)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    const int start = pasteboard.changeCount();
    {
        ForeignOwner owner("theirs");
        EXPECT_TRUE(quillon::testing::waitFor([&] { return pasteboard.changeCount() > start; }));
    }
    const int afterForeign = pasteboard.changeCount();
    ASSERT_TRUE(pasteboard.writeString("ours"));
    EXPECT_GT(pasteboard.changeCount(), afterForeign); // before the write returned
    const int afterOwn = pasteboard.changeCount();
    quillon::testing::waitFor([] { return false; }, 300);
    EXPECT_EQ(pasteboard.changeCount(), afterOwn); // stays put while nobody takes it
}

TEST(Pasteboard, FilesAreWrittenWithTheirMarksAndReadBackFromAnotherOwner)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    const QList<QUrl> files{QUrl::fromLocalFile("/tmp/shelf/a b.txt"), QUrl::fromLocalFile("/tmp/shelf/c.png")};
    const int before = pasteboard.changeCount();
    ASSERT_TRUE(pasteboard.writeFileURLs(files, true));
    EXPECT_EQ(pasteboard.changeCount(), before + 1); // counted before the write returned
    Paster paster;
    EXPECT_EQ(paster.paste("x-special/gnome-copied-files"),
              "cut\nfile:///tmp/shelf/a%20b.txt\nfile:///tmp/shelf/c.png");
    EXPECT_EQ(paster.paste("application/x-kde-cutselection"), "1");

    // A file manager's copy, read while another client owns the clipboard:
    // only the local files count.
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-t", "text/uri-list", "-i"});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write("file:///tmp/shelf/a%20b.txt\r\nhttps://example.com/page\r\nfile:///tmp/shelf/c.png\r\n");
    xclip.closeWriteChannel();
    ASSERT_TRUE(quillon::testing::waitFor([&] { return !pasteboard.fileURLs().isEmpty(); }));
    EXPECT_EQ(pasteboard.fileURLs(), files);
    // Taking the clipboard back ends xclip.
    ASSERT_TRUE(pasteboard.writeString("done"));
    xclip.waitForFinished(5000);
}

TEST(Pasteboard, AnotherClientReadsEveryWrittenType)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    Paster paster;
    ASSERT_TRUE(pasteboard.write({{Pasteboard::plainTextType, "line one"},
                                  {"com.example.kind", "x/y"},
                                  {Pasteboard::transientType, ""}}));
    const QStringList targets = paster.targets();
    EXPECT_FALSE(targets.contains("WINDOW")); // nothing read past the list
    for (const char* name : {"UTF8_STRING", "text/plain", "com.example.kind",
                             "org.nspasteboard.TransientType", "x-kde-passwordManagerHint"})
        EXPECT_TRUE(targets.contains(name)) << name << " in " << targets.join(", ").toStdString();
    EXPECT_EQ(paster.paste("UTF8_STRING"), "line one");
    EXPECT_EQ(paster.paste("com.example.kind"), "x/y");
    EXPECT_EQ(paster.paste("x-kde-passwordManagerHint"), "secret");
    // Reading our own clipboard answers at once, without a round trip.
    EXPECT_EQ(pasteboard.string(Pasteboard::plainTextType), "line one");
    EXPECT_TRUE(pasteboard.types().contains(Pasteboard::concealedType));
}

/// Reads through `read` and records when the answer came, next to work
/// posted on the main thread right after the call.
struct AsyncRead {
    AsyncRead(Pasteboard& pasteboard, const QStringList& wanted)
    {
        pasteboard.read(wanted, [this](const quillon::platform::PasteboardContents& answer) {
            contents = answer;
            postedRanFirst = posted;
        });
        answeredInCall = contents.has_value();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [this] { posted = true; }, Qt::QueuedConnection);
    }
    bool answered() const { return contents.has_value(); }

    std::optional<quillon::platform::PasteboardContents> contents;
    bool answeredInCall = false;
    bool posted = false;
    bool postedRanFirst = false;
};

TEST(Pasteboard, ReadAnswersOnALaterTurnWithTypesAndTexts)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    ForeignOwner owner("hunter2 / Grüße");
    const QStringList wanted = {Pasteboard::plainTextType, "x-kde-passwordManagerHint", "text/html"};
    AsyncRead read(pasteboard, wanted);
    EXPECT_FALSE(read.answeredInCall);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return read.answered(); }));
    EXPECT_TRUE(read.contents->types.contains(Pasteboard::plainTextType));
    EXPECT_TRUE(read.contents->types.contains(Pasteboard::concealedType));
    EXPECT_EQ(read.contents->string(Pasteboard::plainTextType), QStringLiteral("hunter2 / Grüße"));
    EXPECT_EQ(read.contents->string("x-kde-passwordManagerHint"), QStringLiteral("secret"));
    EXPECT_EQ(read.contents->string("text/html"), std::nullopt);

    // Our own clipboard answers the same way, also on a later turn.
    ASSERT_TRUE(pasteboard.write({{Pasteboard::plainTextType, "ours"}, {Pasteboard::transientType, ""}}));
    AsyncRead own(pasteboard, wanted);
    EXPECT_FALSE(own.answeredInCall);
    ASSERT_TRUE(quillon::testing::waitFor([&] { return own.answered(); }));
    EXPECT_EQ(own.contents->string(Pasteboard::plainTextType), QStringLiteral("ours"));
    EXPECT_TRUE(own.contents->types.contains(Pasteboard::transientType));
}

TEST(Pasteboard, SilentOwnerLeavesTheMainThreadRunningAndReadsAsNothing)
{
    QUILLON_REQUIRE_DESKTOP();
    QtPasteboard pasteboard;
    const int start = pasteboard.changeCount();
    ForeignOwner owner("never sent", false);
    // Until Qt hears of the new owner it still answers from its own copy.
    ASSERT_TRUE(quillon::testing::waitFor([&] { return pasteboard.changeCount() > start; }));
    AsyncRead first(pasteboard, {Pasteboard::plainTextType});
    AsyncRead second(pasteboard, {Pasteboard::plainTextType});
    ASSERT_TRUE(quillon::testing::waitFor([&] { return first.answered() && second.answered(); }));
    // Work posted after the call ran while the owner kept silent.
    EXPECT_TRUE(first.postedRanFirst);
    EXPECT_TRUE(first.contents->types.isEmpty());
    EXPECT_TRUE(second.contents->strings.empty());
}

} // namespace
