#include "input/LeaderWatcher.h"

#include "input/ModifierWatcher.h"
#include "platform/Platform.h"
#include "support/Log.h"

#include <algorithm>

namespace quillon {

LeaderWatcher::LeaderWatcher(ModifierWatcher& modifiers)
    : m_modifiers(modifiers)
{
    // The tap lives and dies with the watcher, so its callbacks may hold it
    // directly.
    m_keyTap.onKey = [this](Leader leader, QChar character) { return deliver(leader, character); };
    m_keyTap.onLeaderChange = [this](std::optional<Leader> leader) { leaderChanged(leader); };
    m_keyTap.keysFor = [this](Leader leader) { return declaredKeys(leader); };
}

LeaderWatcher::~LeaderWatcher()
{
    cancelHold();
    if (m_running)
        m_modifiers.remove(this);
}

void LeaderWatcher::add(const void* owner, std::set<Leader> leaders, KeyDeclaration keys, KeyHandler onKey,
                        HintProvider hints)
{
    if (!m_consumers.count(owner))
        m_order.push_back(owner);
    m_consumers[owner] = Consumer{std::move(leaders), std::move(keys), std::move(onKey), std::move(hints)};
    start();
    refreshKeys();
}

void LeaderWatcher::remove(const void* owner)
{
    m_consumers.erase(owner);
    m_order.erase(std::remove(m_order.begin(), m_order.end(), owner), m_order.end());
    if (m_consumers.empty())
        stop();
    else
        refreshKeys();
}

std::vector<uint16_t> LeaderWatcher::declaredKeys(Leader leader) const
{
    std::vector<uint16_t> keys;
    for (const void* owner : m_order) {
        const auto it = m_consumers.find(owner);
        if (it == m_consumers.end() || !it->second.leaders.count(leader) || !it->second.keys)
            continue;
        for (const uint16_t key : it->second.keys(leader)) {
            if (std::find(keys.begin(), keys.end(), key) == keys.end())
                keys.push_back(key);
        }
    }
    return keys;
}

void LeaderWatcher::refreshKeys()
{
    std::set<Leader> taking;
    for (const Leader leader : {Leader::command, Leader::feature, Leader::option}) {
        if (!declaredKeys(leader).empty())
            taking.insert(leader);
    }
    m_keyTap.setLeaderKeys(taking);
}

void LeaderWatcher::start()
{
    if (m_running)
        return;
    if (!m_keyTap.start()) {
        Log::error(QStringLiteral("LeaderWatcher: could not create key tap (no X11 session with XTest and "
                                  "XInput 2.2?)"));
        return;
    }
    m_running = true;
    m_modifiers.add(this, [this](platform::EventFlags flags) { m_keyTap.handleFlags(flags); });
    refreshKeys();
}

void LeaderWatcher::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_modifiers.remove(this);
    m_keyTap.stop();
    release();
}

void LeaderWatcher::dismissHint()
{
    release();
}

void LeaderWatcher::release()
{
    cancelHold();
    if (onRelease)
        onRelease();
}

void LeaderWatcher::cancelHold()
{
    m_hold.cancel();
    m_hold = {};
}

bool LeaderWatcher::deliver(Leader leader, QChar character)
{
    // A consumer's handler may register or remove consumers: walk a copy.
    const std::vector<const void*> order = m_order;
    for (const void* owner : order) {
        const auto it = m_consumers.find(owner);
        if (it == m_consumers.end() || !it->second.leaders.count(leader))
            continue;
        const KeyHandler handler = it->second.onKey;
        if (handler && handler(leader, character))
            return true;
    }
    return false;
}

void LeaderWatcher::leaderChanged(std::optional<Leader> leader)
{
    cancelHold();
    if (!leader) {
        refreshKeys();
        if (onRelease)
            onRelease();
        return;
    }
    const bool served = std::any_of(m_consumers.begin(), m_consumers.end(), [&](const auto& entry) {
        return entry.second.leaders.count(*leader) > 0;
    });
    if (!served)
        return;
    std::weak_ptr<LeaderWatcher*> weak = m_self;
    const Leader held = *leader;
    m_hold = platform::platform().mainQueue().after(holdDelay ? holdDelay() : 0.2, [weak, held] {
        if (auto self = weak.lock())
            (*self)->holdElapsed(held);
    });
}

// The work item stays in m_hold after it ran, until the next change or dismissal.
void LeaderWatcher::holdElapsed(Leader leader)
{
    std::vector<HintSource> sources;
    for (const void* owner : m_order) {
        const auto it = m_consumers.find(owner);
        if (it != m_consumers.end())
            sources.emplace_back(it->second.leaders, it->second.hints);
    }
    const auto items = tiles(leader, sources);
    Log::debug([&] {
        QStringList badges;
        for (const NotchBarItem& item : items.value_or(std::vector<NotchBarItem>{}))
            badges << item.badge.value_or(QStringLiteral("-"));
        return QStringLiteral("LeaderWatcher: hint tiles: %1").arg(badges.join(QLatin1Char(' ')));
    });
    if (items && onHold)
        onHold(leader, *items);
}

std::optional<std::vector<NotchBarItem>> LeaderWatcher::tiles(Leader leader,
                                                              const std::vector<HintSource>& sources)
{
    std::vector<NotchBarItem> items;
    for (const auto& [leaders, hints] : sources) {
        if (!leaders.count(leader) || !hints)
            continue;
        const std::vector<NotchBarItem> more = hints(leader);
        items.insert(items.end(), more.begin(), more.end());
    }
    if (items.empty())
        return std::nullopt;
    return items;
}

} // namespace quillon
