#pragma once

#include "input/KeyTap.h"
#include "input/Leader.h"
#include "notch/NotchBarItem.h"
#include "platform/MainQueue.h"

#include <QChar>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace quillon {

class ModifierWatcher;

/// The leader key as a service several consumers share: while a leader is
/// held, its keys go to the consumers in registration order until one takes
/// the key, and once the leader has been held for the hold delay the hint
/// tiles of every consumer serving it go to the owner for the notch.
///
/// The watcher owns the one leader `KeyTap` and feeds it the modifier changes
/// of the shared `ModifierWatcher`; it runs while it has consumers (and the
/// owner has not stopped it).
class LeaderWatcher {
public:
    /// True: the key was taken (and is swallowed).
    using KeyHandler = std::function<bool(Leader, QChar character)>;
    using HintProvider = std::function<std::vector<NotchBarItem>(Leader)>;
    /// The virtual key codes a consumer takes under a leader just now.
    using KeyDeclaration = std::function<std::vector<uint16_t>(Leader)>;
    /// The leaders a consumer serves, with its tiles for a leader.
    using HintSource = std::pair<std::set<Leader>, HintProvider>;

    explicit LeaderWatcher(ModifierWatcher& modifiers);
    ~LeaderWatcher();
    LeaderWatcher(const LeaderWatcher&) = delete;
    LeaderWatcher& operator=(const LeaderWatcher&) = delete;

    /// The leader has been held for the hold delay; these are the tiles (never
    /// an empty list).
    std::function<void(Leader, const std::vector<NotchBarItem>&)> onHold;
    /// The leader was released, the watcher stopped or the hint dismissed.
    std::function<void()> onRelease;
    /// Seconds a leader is held before the hints show; read on every press.
    std::function<double()> holdDelay = [] { return 0.2; };

    /// Registers (or replaces) the owner's consumer, keeping its first place
    /// in the order, then starts. `keys` is read at each leader press: only
    /// the keys some consumer declares for the held leader are taken over.
    void add(const void* owner, std::set<Leader> leaders, KeyDeclaration keys, KeyHandler onKey,
             HintProvider hints);
    /// The last consumer to leave stops the watcher.
    void remove(const void* owner);

    /// Makes the key tap and listens to the modifiers; when the session gives
    /// no key tap, logs and stays stopped (the next start tries again).
    void start();
    void stop();
    /// Drops a pending hold and tells the owner to take the hints down.
    void dismissHint();
    /// Reads the consumers' declared keys again: a leader whose consumers
    /// take no key has its own key left alone. Call after a change that may
    /// change what they take (settings); a leader's release does it too.
    void refreshKeys();
    /// Every key the consumers declare for the leader, each once.
    std::vector<uint16_t> declaredKeys(Leader leader) const;

    bool isRunning() const { return m_running; }
    bool hasConsumers() const { return !m_consumers.empty(); }
    const KeyTap& keyTap() const { return m_keyTap; }

    /// The tiles of the sources that serve the leader, in the given order and
    /// unchanged; none when that gives no tile.
    static std::optional<std::vector<NotchBarItem>> tiles(Leader leader,
                                                          const std::vector<HintSource>& sources);

private:
    struct Consumer {
        std::set<Leader> leaders;
        KeyDeclaration keys;
        KeyHandler onKey;
        HintProvider hints;
    };

    bool deliver(Leader leader, QChar character);
    void leaderChanged(std::optional<Leader> leader);
    void holdElapsed(Leader leader);
    void cancelHold();
    void release();

    ModifierWatcher& m_modifiers;
    KeyTap m_keyTap;
    std::map<const void*, Consumer> m_consumers;
    std::vector<const void*> m_order;
    platform::WorkItem m_hold;
    bool m_running = false;
    // The hold work item holds this weakly.
    std::shared_ptr<LeaderWatcher*> m_self = std::make_shared<LeaderWatcher*>(this);
};

} // namespace quillon
