#pragma once

#include "app/Feature.h"
#include "features/jump/AppBindings.h"
#include "input/Leader.h"
#include "notch/NotchBarItem.h"

#include <QChar>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace quillon {

class LeaderWatcher;
class Settings;

/// Jumping to applications, workspaces and windows with the leader key:
/// right Ctrl + a letter brings an application forward (cycling through the
/// ones sharing the letter), right Ctrl + a digit walks to that workspace, and
/// right Alt + a letter raises a window of the front application by its title.
class JumpFeature final : public BasicFeature {
public:
    /// The letter shown for an application.
    struct Binding {
        QChar letter;
        /// Pinned by the user rather than given automatically.
        bool isPinned = false;
        bool operator==(const Binding&) const = default;
    };

    /// Presses of one letter closer together than this step through its group.
    static constexpr double cycleWindow = 1.2;
    /// How long a workspace walk waits for each step to be seen.
    static constexpr double spaceStepTimeout = 0.6;
    /// How long opening an app waits for its workspace to be reached.
    static constexpr double spaceHopTimeout = 0.5;

    JumpFeature(Settings& settings, LeaderWatcher& leader);
    ~JumpFeature() override;

    /// The pulse key of the hint just pressed (an app id, or a window letter).
    std::function<void(const QString&)> onHintPress;
    /// The workspace number moved to.
    std::function<void(int)> onSpaceJumped;
    /// Items shown after the command leader's own hint tiles.
    std::function<std::vector<NotchBarItem>()> trailingCommandHints = [] {
        return std::vector<NotchBarItem>{};
    };

    void activate() override;
    void deactivate() override;

    /// The hint strip for a leader (none for the feature leader).
    std::vector<NotchBarItem> hintItems(Leader leader);
    /// The letter of an application: its pinned one, else its automatic one.
    std::optional<Binding> binding(const QString& bundleID) const;
    /// Recomputes the automatic letter bindings from the running applications.
    void rebuildAutoBindings();

    /// The key handler: answers at once, queues the work.
    bool handle(Leader leader, QChar character);
    /// The key codes taken under a leader.
    static std::vector<uint16_t> keyCodes(Leader leader);

private:
    bool activateApp(QChar letter);
    QStringList groupForLetter(QChar letter) const;
    void launch(const QString& bundleID, QChar letter);
    void show(const QString& bundleID, bool launchIfClosed);
    /// Starts a pinned app that is not running, then brings it forward.
    void start(const QString& bundleID);
    void openAndRaise(int32_t pid, const QString& bundleID);
    std::vector<AppBindings::Entry> regularRunningApps() const;
    void subscribeToAppChanges();
    std::optional<QIcon> iconFor(const QString& bundleID);
    std::map<QChar, QString> forcedLetters() const;
    int hintLimit(int upper) const;

    void walkToSpace(int index, bool instant);
    void afterSpaceChanges(std::function<void()> then);
    std::optional<uint64_t> jumpToAppSpace(int32_t pid);
    void afterReaching(uint64_t space, std::function<void()> then);
    void raiseFrontWindow(QChar key);
    /// Runs `fn` on the main queue while this object lives.
    void post(std::function<void(JumpFeature&)> fn);

    Settings& m_settings;
    LeaderWatcher& m_leader;
    AppBindings::Groups m_autoGroups;
    QStringList m_recentApps;
    std::vector<int> m_appChangeTokens;
    std::map<QString, QIcon> m_iconCache;
    std::set<QString> m_starting;
    QStringList m_cycleGroup;
    std::optional<QChar> m_cycleGroupLetter;
    int m_cycleIndex = 0;
    std::optional<QChar> m_lastCycleLetter;
    // Uptime, so a step of the wall clock never makes or breaks a repeat.
    double m_lastCyclePress = -1e9;
    std::shared_ptr<JumpFeature*> m_self = std::make_shared<JumpFeature*>(this);
};

} // namespace quillon
