#include "features/snippets/SnippetsFeature.h"

#include "input/SyntheticPaste.h"
#include "platform/Platform.h"
#include "support/AppFiles.h"
#include "support/Log.h"

namespace quillon {

namespace {

constexpr int visibleRows = 6;

// Whatever is typed while the picker is open reaches it, with any modifiers
// held: a letter typed with Ctrl (the leader may still be down) joins the
// query too. Chords another program holds (the window manager's) stay its.
platform::KeyGrab everyKeyGrab()
{
    platform::KeyGrab grab;
    grab.everyKey = true;
    grab.modifiers = platform::KeyGrab::everyModifier();
    return grab;
}

} // namespace

SnippetsFeature::SnippetsFeature(Settings& settings)
    : m_settings(settings)
    , m_store(AppFiles::root() + QStringLiteral("/Snippets.json"))
    , m_keyTap(true, true, 0, everyKeyGrab())
{
    m_menu.setEmptyText(QStringLiteral("No matches"));
    m_keyTap.onKey = [this](const TransientKeyTap::KeyEvent& key) { return handleKey(key); };
}

SnippetsFeature::~SnippetsFeature()
{
    m_keyTap.disarm();
    removeDismissMonitors();
}

void SnippetsFeature::activate()
{
    if (m_active)
        return;
    m_active = true;
    m_store.dropCache();
    auto& permissions = platform::platform().permissions();
    if (!permissions.postEventsAllowed())
        permissions.requestPostEvents();
    Log::debug([this] { return QStringLiteral("Snippets activated (%1 saved)").arg(m_store.all().size()); });
}

void SnippetsFeature::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    close();
    Log::debug("Snippets deactivated");
}

void SnippetsFeature::showPicker()
{
    if (!m_active)
        return;
    if (m_menu.isOpen()) {
        close();
        return;
    }
    m_state = {};
    m_visible = SnippetStore::matches(QString(), m_store.all());
    m_state.rowCount = int(m_visible.size());
    std::weak_ptr<bool> alive = m_alive;
    m_menu.onPick = [this, alive](int index) {
        if (!alive.lock() || index < 0 || index >= int(m_visible.size()))
            return;
        const Snippet snippet = m_visible[std::size_t(index)];
        close();
        insert(snippet);
    };
    m_menu.onHover = [this, alive](int index) {
        if (alive.lock() && index >= 0 && index < int(m_visible.size()))
            highlight(index);
    };
    // Armed before the list shows: whatever is typed once it is on screen
    // goes to it, not to the window below.
    m_keyTap.arm();
    m_menu.show(items(m_visible), header(),
                {QStringLiteral("↑↓ move"), QStringLiteral("⏎ insert"), QStringLiteral("esc")}, visibleRows);
    installDismissMonitors();
}

std::vector<ListMenu::Item> SnippetsFeature::items(const std::vector<Snippet>& snippets)
{
    std::vector<ListMenu::Item> rows;
    rows.reserve(snippets.size());
    for (const Snippet& snippet : snippets)
        rows.push_back({std::nullopt, QStringLiteral(":") + snippet.trigger, snippet.preview(),
                        QStringLiteral("text.append"), true});
    return rows;
}

ListMenu::Header SnippetsFeature::header()
{
    return ListMenu::Search{m_state.query,
                            m_store.all().empty()
                                ? QStringLiteral("No snippets yet — add them in Settings › Snippets")
                                : QStringLiteral("type to search…")};
}

bool SnippetsFeature::handleKey(const TransientKeyTap::KeyEvent& key)
{
    if (!m_menu.isOpen())
        return false;
    const double now = platform::platform().clock().uptime();
    const auto result =
        SnippetPicker::reduce(m_state, {key.code, key.isKeyUp, key.isRepeat, key.characters()}, now);
    m_state = result.state;
    switch (result.effect) {
    case SnippetPicker::Effect::none:
        break;
    case SnippetPicker::Effect::refresh:
        refresh();
        break;
    case SnippetPicker::Effect::highlight:
        highlight(m_state.highlighted);
        break;
    case SnippetPicker::Effect::close:
        close();
        break;
    case SnippetPicker::Effect::insert: {
        const Snippet snippet = m_visible[std::size_t(m_state.highlighted)];
        close();
        // The clipboard read behind it is a round trip with another client:
        // never inside a key handler.
        std::weak_ptr<bool> alive = m_alive;
        platform::platform().mainQueue().post([this, alive, snippet] {
            if (alive.lock())
                insert(snippet);
        });
        break;
    }
    }
    return result.swallow;
}

void SnippetsFeature::refresh()
{
    m_visible = SnippetStore::matches(m_state.query, m_store.all());
    m_state.rowCount = int(m_visible.size());
    m_state.highlighted = 0;
    m_menu.update(items(m_visible), header());
}

void SnippetsFeature::highlight(int index)
{
    m_state.highlighted = index;
    m_menu.highlight(index);
}

void SnippetsFeature::close()
{
    m_menu.close();
    m_keyTap.disarm();
    removeDismissMonitors();
    m_state = {};
    m_visible.clear();
}

void SnippetsFeature::insert(const Snippet& snippet)
{
    using platform::Pasteboard;
    // The clipboard's owner answers on a later turn.
    std::weak_ptr<bool> alive = m_alive;
    platform::platform().pasteboard().read(
        {Pasteboard::plainTextType}, [this, alive, snippet](const platform::PasteboardContents& contents) {
            if (alive.lock())
                insertExpanded(
                    SnippetStore::expand(snippet.body, contents.string(Pasteboard::plainTextType)));
        });
}

void SnippetsFeature::insertExpanded(const SnippetStore::Expansion& expansion)
{
    using platform::Pasteboard;
    auto& platform = platform::platform();
    // The transient mark keeps clipboard histories, ours too, from keeping
    // the text.
    platform.pasteboard().write(
        {{Pasteboard::plainTextType, expansion.text}, {Pasteboard::transientType, QString()}});
    if (!platform.permissions().postEventsAllowed() || platform.inputAccess().secureInputActive()) {
        Log::debug("Snippets: copied without paste");
        if (onCopiedWithoutPaste)
            onCopiedWithoutPaste();
        return;
    }
    const qsizetype lefts = expansion.caretOffsetFromEnd.value_or(0);
    // On a later turn, so the focused window has its keyboard back.
    platform.mainQueue().post([lefts] {
        if (!SyntheticPaste::paste()) {
            Log::debug("Snippets: no paste posted");
            return;
        }
        for (qsizetype i = 0; i < lefts; ++i)
            SyntheticPaste::postKey(SnippetPicker::leftKey, 0);
    });
}

void SnippetsFeature::installDismissMonitors()
{
    removeDismissMonitors();
    std::weak_ptr<bool> alive = m_alive;
    auto& platform = platform::platform();
    m_outsideClickMonitor =
        platform.pointer().addMouseDownMonitor([this, alive](const platform::MouseDown& down) {
            if (alive.lock() && !down.overOwnWindow && (down.button == 1 || down.button == 3))
                close();
        });
    m_appSwitchToken = platform.workspace().addHandler(
        [this, alive](platform::AppNotice notice, const platform::RunningApp&) {
            if (alive.lock() && notice == platform::AppNotice::activated)
                close();
        });
}

void SnippetsFeature::removeDismissMonitors()
{
    auto& platform = platform::platform();
    if (m_outsideClickMonitor)
        platform.pointer().removeMouseDownMonitor(*m_outsideClickMonitor);
    if (m_appSwitchToken)
        platform.workspace().removeHandler(*m_appSwitchToken);
    m_outsideClickMonitor.reset();
    m_appSwitchToken.reset();
}

} // namespace quillon
