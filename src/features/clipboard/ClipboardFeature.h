#pragma once

#include "app/Feature.h"
#include "features/clipboard/ClipboardMenu.h"
#include "features/clipboard/ClipboardStore.h"
#include "features/clipboard/PasteFlow.h"
#include "input/TransientKeyTap.h"
#include "platform/MainQueue.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace quillon {

class ModifierWatcher;
class Settings;

namespace platform {
struct PasteboardContents;
}

/// The clipboard history and its paste menu: copies typed with Ctrl+C or
/// Ctrl+X are captured, and a Ctrl+V held for a quarter second opens the
/// menu of recent texts instead of pasting at once.
class ClipboardFeature final : public Feature {
public:
    ClipboardFeature(Settings& settings, ModifierWatcher& modifiers);
    ~ClipboardFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    ClipboardStore& store() { return m_store; }
    /// Opens the paste menu of the history and pins, without the held
    /// Ctrl+V; nothing when there is no entry.
    void openMenu();
    /// The menu for the getting-started tour; nothing while off.
    void showPicker();
    /// Reorders the pins by hand and writes them.
    void movePins(const std::set<int>& fromOffsets, int toOffset);

    /// The types a capture reads: the text and what `isStorable` looks at.
    static QStringList captureTypes();
    /// Whether the clipboard read may be kept (no password or transient
    /// marks).
    static bool isStorable(const platform::PasteboardContents& contents);

    // For tests: what the flow and its taps are doing.
    PasteFlow::State flowState() const { return m_flow; }
    bool pasteTapArmed() const { return m_pasteTap.isArmed(); }
    bool captureTapArmed() const { return m_captureTap.isArmed(); }
    bool menuTapArmed() const { return m_menuTap.isArmed(); }
    const std::vector<ClipboardEntry>& menuEntries() const { return m_menuEntries; }
    ClipboardMenu& menu() { return m_menu; }

private:
    void run(const PasteFlow::Event& event, bool* swallow = nullptr);
    void perform(const PasteFlow::Action& action);
    bool captureKey(const TransientKeyTap::KeyEvent& key);
    void flagsChanged(platform::EventFlags flags);
    void commandTeardown();
    void showMenu();
    void switchTab(ClipboardTab tab);
    void pasteSlot(int slot);
    /// Reads the clipboard into the history, then lists the recent tab;
    /// `then` follows once the owner has answered.
    void prepareMenuEntries(std::function<void()> then = {});
    void captureNow(std::function<void()> then = {});
    void holdTimer();
    std::vector<ClipboardEntry> entries(ClipboardTab tab) const;
    bool isFrontmostExcluded() const;
    void installOutsideClickMonitor();
    void removeOutsideClickMonitor();
    void postPaste();
    void cancelHold();

    Settings& m_settings;
    ModifierWatcher& m_modifiers;
    ClipboardStore m_store;
    PasteFlow::State m_flow;
    bool m_active = false;
    TransientKeyTap m_captureTap;
    TransientKeyTap m_pasteTap;
    TransientKeyTap m_menuTap;
    ClipboardMenu m_menu;
    std::optional<int> m_outsideClickMonitor;
    bool m_commandHeld = false;
    platform::WorkItem m_holdWork;
    platform::WorkItem m_captureWork;
    /// Menu reads still out: the hold timer waits for them, as the menu
    /// lists what they find.
    int m_preparing = 0;
    bool m_holdDue = false;
    std::vector<ClipboardEntry> m_menuEntries;
    ClipboardTab m_activeTab = ClipboardTab::recent;
    /// Queued work holds this weakly and does nothing once the feature is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
