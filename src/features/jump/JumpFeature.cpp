#include "features/jump/JumpFeature.h"

#include "input/KeyCodes.h"
#include "input/LeaderWatcher.h"
#include "platform/AppDirectory.h"
#include "platform/Clock.h"
#include "platform/MainQueue.h"
#include "platform/Platform.h"
#include "platform/Spaces.h"
#include "platform/WindowControl.h"
#include "platform/Workspace.h"
#include "settings/Settings.h"
#include "spaceswitch/SpaceSwitch.h"
#include "support/Log.h"
#include "windows/WindowActivator.h"
#include "windows/WindowList.h"
#include "windows/WindowSpaces.h"

#include <algorithm>

namespace quillon {

namespace {

platform::Platform& sys()
{
    return platform::platform();
}

std::optional<platform::RunningApp> runningApp(const QString& bundleID)
{
    for (const auto& app : sys().workspace().runningApps()) {
        if (app.appId == bundleID)
            return app;
    }
    return std::nullopt;
}

std::optional<int> spaceDigit(QChar character)
{
    const int value = character.digitValue();
    return value >= 1 && value <= 9 ? std::optional<int>(value) : std::nullopt;
}

// A one-shot race between a notice and a time-out: whichever comes first runs
// the follow-up, and the notice handler is removed once it has.
struct SpaceWait {
    bool fired = false;
    int token = -1;
    std::function<void()> then;

    static void fire(const std::shared_ptr<SpaceWait>& wait)
    {
        if (wait->fired)
            return;
        wait->fired = true;
        const int token = wait->token;
        // Not removed from inside its own notice.
        sys().mainQueue().post([token] { sys().spaces().removeChangeHandler(token); });
        auto then = std::move(wait->then);
        if (then)
            then();
    }
};

} // namespace

JumpFeature::JumpFeature(Settings& settings, LeaderWatcher& leader)
    : BasicFeature(QStringLiteral("Jump"))
    , m_settings(settings)
    , m_leader(leader)
{
}

JumpFeature::~JumpFeature()
{
    deactivate();
}

void JumpFeature::activate()
{
    if (isActive())
        return;
    BasicFeature::activate();
    std::weak_ptr<JumpFeature*> weak = m_self;
    m_leader.add(
        this, {Leader::command, Leader::option}, [](Leader leader) { return keyCodes(leader); },
        [weak](Leader leader, QChar character) {
            const auto self = weak.lock();
            return self && (*self)->handle(leader, character);
        },
        [weak](Leader leader) {
            const auto self = weak.lock();
            return self ? (*self)->hintItems(leader) : std::vector<NotchBarItem>{};
        });
    rebuildAutoBindings();
    subscribeToAppChanges();
}

void JumpFeature::deactivate()
{
    if (!isActive())
        return;
    BasicFeature::deactivate();
    m_leader.remove(this);
    for (const int token : m_appChangeTokens)
        sys().workspace().removeHandler(token);
    m_appChangeTokens.clear();
    m_autoGroups.clear();
    m_recentApps.clear();
    m_iconCache.clear();
    m_cycleGroup.clear();
    m_cycleGroupLetter.reset();
    m_lastCycleLetter.reset();
}

std::vector<uint16_t> JumpFeature::keyCodes(Leader leader)
{
    std::vector<uint16_t> keys;
    if (leader == Leader::feature)
        return keys;
    for (const auto& [code, letter] : KeyCodes::letterByKeyCode)
        keys.push_back(code);
    if (leader == Leader::command) {
        for (const auto& [code, digit] : KeyCodes::digitByKeyCode) {
            if (spaceDigit(digit))
                keys.push_back(code);
        }
        // Everything else the leader can deliver: the semicolon key and the
        // media keys, consumed like any unbound character.
        for (const uint16_t code : {uint16_t(41), uint16_t(43), uint16_t(44), uint16_t(47)})
            keys.push_back(code);
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

bool JumpFeature::handle(Leader leader, QChar character)
{
    switch (leader) {
    case Leader::command:
        if (const auto digit = spaceDigit(character)) {
            const bool instant = m_settings.isSwipeEnabled();
            const int index = *digit - 1;
            post([index, instant](JumpFeature& self) { self.walkToSpace(index, instant); });
            return true;
        }
        return activateApp(character);
    case Leader::option:
        post([character](JumpFeature& self) { self.raiseFrontWindow(character); });
        return true;
    case Leader::feature:
        return false;
    }
    return false;
}

void JumpFeature::post(std::function<void(JumpFeature&)> fn)
{
    std::weak_ptr<JumpFeature*> weak = m_self;
    sys().mainQueue().post([weak, fn = std::move(fn)] {
        if (const auto self = weak.lock())
            fn(**self);
    });
}

std::map<QChar, QString> JumpFeature::forcedLetters() const
{
    std::map<QChar, QString> letters;
    const auto forced = m_settings.jumpForced();
    for (auto it = forced.begin(); it != forced.end(); ++it) {
        if (!it.key().isEmpty())
            letters.emplace(it.key().at(0), it.value());
    }
    return letters;
}

std::vector<AppBindings::Entry> JumpFeature::regularRunningApps() const
{
    std::vector<AppBindings::Entry> apps;
    for (const auto& app : sys().workspace().runningApps()) {
        if (app.regular && !app.appId.isEmpty() && !app.name.isEmpty())
            apps.push_back({app.appId, app.name});
    }
    return apps;
}

void JumpFeature::rebuildAutoBindings()
{
    auto apps = regularRunningApps();
    const auto pinned = forcedLetters();
    const auto ignoredSet = m_settings.jumpIgnored();
    const std::set<QString> ignored(ignoredSet.begin(), ignoredSet.end());
    if (m_settings.jumpCycleSameLetter()) {
        m_autoGroups = AppBindings::firstLetterGroups(apps, pinned, ignored);
    } else {
        AppBindings::sortByName(apps);
        AppBindings::Bindings previous;
        for (const auto& [letter, ids] : m_autoGroups)
            previous[letter] = ids.front();
        m_autoGroups.clear();
        for (const auto& [letter, id] : AppBindings::rebuildAuto(apps, pinned, ignored, previous))
            m_autoGroups[letter] = QStringList{id};
    }
    Log::debug([&] {
        QStringList groups;
        for (const auto& [letter, ids] : m_autoGroups)
            groups.append(QString(letter) + QStringLiteral(": [") + ids.join(QStringLiteral(", ")) + ']');
        return QStringLiteral("Jump auto groups: {") + groups.join(QStringLiteral(", ")) + '}';
    });
}

void JumpFeature::subscribeToAppChanges()
{
    std::weak_ptr<JumpFeature*> weak = m_self;
    m_appChangeTokens.push_back(
        sys().workspace().addHandler([weak](platform::AppNotice notice, const platform::RunningApp& app) {
            const auto self = weak.lock();
            if (!self)
                return;
            JumpFeature& jump = **self;
            switch (notice) {
            case platform::AppNotice::activated:
                if (!app.appId.isEmpty()) {
                    jump.m_recentApps.removeAll(app.appId);
                    jump.m_recentApps.prepend(app.appId);
                }
                break;
            case platform::AppNotice::launched:
            case platform::AppNotice::terminated:
                jump.rebuildAutoBindings();
                break;
            case platform::AppNotice::deactivated:
            case platform::AppNotice::hidden:
            case platform::AppNotice::unhidden:
                break;
            }
        }));
}

QStringList JumpFeature::groupForLetter(QChar letter) const
{
    const auto found = m_autoGroups.find(letter);
    QStringList group = found == m_autoGroups.end() ? QStringList() : found->second;
    const auto pinned = forcedLetters();
    if (const auto pin = pinned.find(letter); pin != pinned.end() && !group.contains(pin->second))
        group.prepend(pin->second);
    if (group.size() < 2)
        return group;
    const auto running = sys().workspace().runningApps();
    std::vector<AppBindings::Entry> members;
    for (const QString& id : group) {
        const auto app = std::find_if(running.begin(), running.end(),
                                      [&id](const platform::RunningApp& a) { return a.appId == id; });
        members.push_back({id, app == running.end() ? id : app->name});
    }
    return AppBindings::lruOrder(members, m_recentApps);
}

bool JumpFeature::activateApp(QChar letter)
{
    const double now = sys().clock().uptime();
    // A press 1.2 s after the last is a fresh one, whatever the rounding of
    // the two clock readings.
    const bool repeat = m_lastCycleLetter == letter && now - m_lastCyclePress < cycleWindow - 1e-6;
    m_lastCycleLetter = letter;
    m_lastCyclePress = now;

    const QStringList group = groupForLetter(letter);
    const auto frontApp = sys().workspace().frontmostApp();
    const std::optional<QString> front = frontApp ? std::optional<QString>(frontApp->appId) : std::nullopt;

    if (!m_settings.jumpCycleSameLetter() || group.size() < 2) {
        if (group.isEmpty())
            return true;
        const QString target = group.front();
        if (m_settings.jumpHideOnRepeat() && front == target) {
            const auto app = runningApp(target);
            if (app && !app->hidden) {
                const int32_t pid = app->pid;
                post([target](JumpFeature& self) {
                    if (self.onHintPress)
                        self.onHintPress(target);
                });
                Log::debug([&] { return QStringLiteral("Jump: hide ") + target; });
                sys().mainQueue().post([pid] { sys().workspace().hide(pid); });
                return true;
            }
        }
        launch(target, letter);
        return true;
    }

    if (repeat && m_cycleGroupLetter == letter && !m_cycleGroup.isEmpty()) {
        m_cycleIndex = (m_cycleIndex + 1) % int(m_cycleGroup.size());
    } else {
        m_cycleGroup = group;
        m_cycleGroupLetter = letter;
        const qsizetype at = front ? group.indexOf(*front) : -1;
        m_cycleIndex = at < 0 ? 0 : int((at + 1) % group.size());
    }
    launch(m_cycleGroup.at(m_cycleIndex), letter);
    return true;
}

void JumpFeature::launch(const QString& bundleID, QChar letter)
{
    post([bundleID](JumpFeature& self) {
        if (self.onHintPress)
            self.onHintPress(bundleID);
    });
    const auto pinned = forcedLetters();
    const auto pin = pinned.find(letter);
    const bool isPinned = pin != pinned.end() && pin->second == bundleID;
    post([bundleID, isPinned](JumpFeature& self) { self.show(bundleID, isPinned); });
}

void JumpFeature::show(const QString& bundleID, bool launchIfClosed)
{
    const auto app = runningApp(bundleID);
    if (!app) {
        if (launchIfClosed)
            start(bundleID);
        return;
    }
    if (m_settings.isSwipeEnabled()) {
        const int32_t pid = app->pid;
        if (const auto space = jumpToAppSpace(pid)) {
            std::weak_ptr<JumpFeature*> weak = m_self;
            afterReaching(*space, [weak, pid, bundleID] {
                const auto self = weak.lock();
                if (self && (*self)->isActive())
                    (*self)->openAndRaise(pid, bundleID);
            });
            return;
        }
    }
    openAndRaise(app->pid, bundleID);
}

void JumpFeature::start(const QString& bundleID)
{
    // Many programs open a second window when started again: one start at a time.
    if (m_starting.contains(bundleID)) {
        Log::info(QStringLiteral("Jump: %1 is still starting").arg(bundleID));
        return;
    }
    m_starting.insert(bundleID);
    std::weak_ptr<JumpFeature*> weak = m_self;
    sys().workspace().launch(bundleID, [weak, bundleID](std::optional<int32_t> pid) {
        const auto self = weak.lock();
        if (!self)
            return;
        (*self)->m_starting.erase(bundleID);
        if (pid && (*self)->isActive())
            (*self)->openAndRaise(*pid, bundleID);
    });
}

void JumpFeature::openAndRaise(int32_t pid, const QString& bundleID)
{
    Log::debug([&] { return QStringLiteral("Jump: open ") + bundleID; });
    auto& workspace = sys().workspace();
    if (const auto app = workspace.app(pid); app && app->hidden)
        workspace.unhide(pid);
    workspace.activate(pid);
    auto& control = sys().windowControl();
    const auto main = control.mainWindow(pid);
    if (!main)
        return;
    const platform::WindowId window = *main;
    // Activated again once the window is in front, and only while it is still
    // that app's window.
    control.raise(window, [pid, window](bool) {
        const auto owned = sys().windowControl().windows(pid);
        if (owned && std::find(owned->begin(), owned->end(), window) != owned->end())
            sys().workspace().activate(pid);
    });
}

int JumpFeature::hintLimit(int upper) const
{
    const qint64 stored = m_settings.notchMaxHintItems();
    return int(std::clamp<qint64>(stored, 2, upper));
}

std::optional<QIcon> JumpFeature::iconFor(const QString& bundleID)
{
    if (const auto cached = m_iconCache.find(bundleID); cached != m_iconCache.end())
        return cached->second;
    QIcon icon;
    if (const auto app = runningApp(bundleID)) {
        icon = sys().workspace().icon(*app);
    } else if (const auto entry = sys().appDirectory().entry(bundleID)) {
        icon = entry->icon.startsWith('/') ? QIcon(entry->icon) : QIcon::fromTheme(entry->icon);
    } else {
        return std::nullopt;
    }
    m_iconCache[bundleID] = icon;
    return icon;
}

std::vector<NotchBarItem> JumpFeature::hintItems(Leader leader)
{
    if (leader == Leader::feature)
        return {};
    if (leader == Leader::option) {
        const auto front = sys().workspace().frontmostApp();
        if (!front)
            return {};
        const auto hints = WindowActivator::titleHints(front->pid);
        if (hints.empty())
            return {};
        std::vector<NotchBarItem> items;
        NotchBarItem app;
        if (const auto icon = iconFor(front->appId))
            app.icon = *icon;
        items.push_back(app);
        const size_t limit = size_t(hintLimit(8));
        for (size_t i = 0; i < hints.size() && i < limit; ++i) {
            NotchBarItem item;
            item.text = hints[i].name;
            item.badge = hints[i].initial.toUpper();
            items.push_back(item);
        }
        return items;
    }

    struct Pair {
        QChar letter;
        QString id;
    };
    std::vector<Pair> pairs;
    const auto pinned = forcedLetters();
    for (const auto& [letter, id] : pinned)
        pairs.push_back({letter, id});
    for (const auto& [letter, ids] : m_autoGroups) {
        for (const QString& id : ids) {
            const auto pin = pinned.find(letter);
            if (pin == pinned.end() || pin->second != id)
                pairs.push_back({letter, id});
        }
    }
    std::set<QString> running;
    for (const auto& app : sys().workspace().runningApps())
        running.insert(app.appId);
    const auto frontApp = sys().workspace().frontmostApp();
    const QString front = frontApp ? frontApp->appId : QString();
    const auto classOf = [&](const QString& id) { return !running.contains(id) ? 2 : id == front ? 1 : 0; };
    const auto rankOf = [&](const QString& id) {
        const qsizetype at = m_recentApps.indexOf(id);
        return at < 0 ? std::numeric_limits<qsizetype>::max() : at;
    };
    std::stable_sort(pairs.begin(), pairs.end(), [&](const Pair& a, const Pair& b) {
        const int ca = classOf(a.id), cb = classOf(b.id);
        if (ca != cb)
            return ca < cb;
        if (ca == 0 && rankOf(a.id) != rankOf(b.id))
            return rankOf(a.id) < rankOf(b.id);
        return a.letter < b.letter;
    });
    const size_t limit = size_t(hintLimit(20));
    std::vector<NotchBarItem> items;
    for (size_t i = 0; i < pairs.size() && i < limit; ++i) {
        NotchBarItem item;
        if (const auto icon = iconFor(pairs[i].id))
            item.icon = *icon;
        item.badge = QString(pairs[i].letter).toUpper();
        item.pulseKey = pairs[i].id;
        item.running = running.contains(pairs[i].id);
        items.push_back(item);
    }
    if (items.size() < limit) {
        for (auto& extra : trailingCommandHints())
            items.push_back(std::move(extra));
    }
    return items;
}

std::optional<JumpFeature::Binding> JumpFeature::binding(const QString& bundleID) const
{
    for (const auto& [letter, id] : forcedLetters()) {
        if (id == bundleID)
            return Binding{letter, true};
    }
    for (const auto& [letter, ids] : m_autoGroups) {
        if (ids.contains(bundleID))
            return Binding{letter, false};
    }
    return std::nullopt;
}

void JumpFeature::raiseFrontWindow(QChar key)
{
    if (onHintPress)
        onHintPress(QString(key).toUpper());
    if (const auto front = sys().workspace().frontmostApp())
        WindowActivator::raiseWindow(front->pid, QString(key));
}

void JumpFeature::walkToSpace(int index, bool instant)
{
    const int32_t current = css_current_space_index();
    const int32_t count = css_space_count();
    if (current < 0 || index >= count || index == current)
        return;
    if (!css_swipe_once(index > current ? 1 : 0, instant ? 1 : 0))
        return;
    std::weak_ptr<JumpFeature*> weak = m_self;
    afterSpaceChanges([weak, index, instant, current] {
        const auto self = weak.lock();
        if (!self || !(*self)->isActive())
            return;
        const int32_t now = css_current_space_index();
        if (now == current)
            return;
        if (now == index) {
            if ((*self)->onSpaceJumped)
                (*self)->onSpaceJumped(index + 1);
            return;
        }
        (*self)->walkToSpace(index, instant);
    });
}

void JumpFeature::afterSpaceChanges(std::function<void()> then)
{
    auto wait = std::make_shared<SpaceWait>();
    wait->then = std::move(then);
    wait->token = sys().spaces().addChangeHandler([wait] { SpaceWait::fire(wait); });
    sys().mainQueue().after(spaceStepTimeout, [wait] { SpaceWait::fire(wait); });
}

void JumpFeature::afterReaching(uint64_t space, std::function<void()> then)
{
    auto wait = std::make_shared<SpaceWait>();
    wait->then = std::move(then);
    wait->token = sys().spaces().addChangeHandler([wait, space] {
        if (sys().spaces().snapshot()->activeSpace == space)
            SpaceWait::fire(wait);
    });
    sys().mainQueue().after(spaceHopTimeout, [wait] { SpaceWait::fire(wait); });
}

std::optional<uint64_t> JumpFeature::jumpToAppSpace(int32_t pid)
{
    auto& spaces = WindowSpaces::shared();
    if (!spaces.symbolsResolved())
        return std::nullopt;
    const auto windows = windowList(WindowListOption::all);
    if (!windows)
        return std::nullopt;
    const uint64_t active = sys().spaces().snapshot()->activeSpace;
    for (const auto& entry : *windows) {
        if (entry.pid != pid)
            continue;
        // A window shown on every workspace is here already: no hop for it.
        if (!spaces.isOnOtherSpace(entry.id, active))
            continue;
        const auto space = spaces.otherSpace(entry.id, active);
        if (!space)
            continue;
        return css_switch_to_space(*space) ? space : std::nullopt;
    }
    return std::nullopt;
}

} // namespace quillon
