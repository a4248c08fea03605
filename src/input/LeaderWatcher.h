#pragma once

#include "input/Leader.h"
#include "notch/NotchBarItem.h"

#include <QString>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace quillon {

class ModifierWatcher;

/// The leader key as a service several consumers share: while a leader is
/// held, its keys go to the consumers in registration order, and after the
/// hold delay their hint tiles go to the owner for the notch.
///
/// This is the part the application delegate drives: consumers, start and
/// stop. The key tap behind it is not attached yet, so a running watcher
/// receives no keys.
class LeaderWatcher {
public:
    /// True: the key was taken (and is swallowed).
    using KeyHandler = std::function<bool(Leader, const QString& character)>;
    using HintProvider = std::function<std::vector<NotchBarItem>(Leader)>;

    explicit LeaderWatcher(ModifierWatcher& modifiers);
    LeaderWatcher(const LeaderWatcher&) = delete;
    LeaderWatcher& operator=(const LeaderWatcher&) = delete;

    /// The leader has been held for the hold delay; these are the tiles.
    std::function<void(Leader, const std::vector<NotchBarItem>&)> onHold;
    /// The leader was released, the watcher stopped or the hint dismissed.
    std::function<void()> onRelease;
    /// Seconds a leader is held before the hints show; read on every press.
    std::function<double()> holdDelay = [] { return 0.2; };

    /// Registers (or replaces) the owner's consumer, keeping its first place
    /// in the order, then starts.
    void add(const void* owner, std::set<Leader> leaders, KeyHandler onKey, HintProvider hints);
    /// The last consumer to leave stops the watcher.
    void remove(const void* owner);

    void start();
    void stop();
    void dismissHint();

    bool isRunning() const { return m_running; }
    bool hasConsumers() const { return !m_consumers.empty(); }

private:
    struct Consumer {
        std::set<Leader> leaders;
        KeyHandler onKey;
        HintProvider hints;
    };

    ModifierWatcher& m_modifiers;
    std::map<const void*, Consumer> m_consumers;
    std::vector<const void*> m_order;
    bool m_running = false;
};

} // namespace quillon
