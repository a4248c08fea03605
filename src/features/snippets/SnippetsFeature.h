#pragma once

#include "app/Feature.h"
#include "features/snippets/SnippetPicker.h"
#include "features/snippets/SnippetStore.h"
#include "input/TransientKeyTap.h"
#include "ui/ListMenu.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class Settings;

/// Stored texts inserted by name from a picker: the picker opens at the
/// pointer over whatever window has the focus, narrows as the person types,
/// and pastes the chosen snippet there with the caret placed.
class SnippetsFeature final : public Feature {
public:
    explicit SnippetsFeature(Settings& settings);
    ~SnippetsFeature() override;

    bool isActive() const override { return m_active; }
    void activate() override;
    void deactivate() override;

    /// An inserted snippet could only be put on the clipboard, not pasted.
    std::function<void()> onCopiedWithoutPaste;

    /// Opens the picker, or closes it when it is open; nothing while off.
    void showPicker();

    /// The one snippet store; the settings panes use it whether or not the
    /// feature is switched on.
    SnippetStore& store() { return m_store; }

    static std::vector<ListMenu::Item> items(const std::vector<Snippet>& snippets);

    // For tests: the open picker.
    bool isOpen() const { return m_menu.isOpen(); }
    bool keyTapArmed() const { return m_keyTap.isArmed(); }
    const QString& query() const { return m_state.query; }
    const std::vector<Snippet>& visible() const { return m_visible; }
    ListMenu& menu() { return m_menu; }

private:
    bool handleKey(const TransientKeyTap::KeyEvent& key);
    void close();
    void refresh();
    void highlight(int index);
    void insert(const Snippet& snippet);
    void insertExpanded(const SnippetStore::Expansion& expansion);
    ListMenu::Header header();
    void installDismissMonitors();
    void removeDismissMonitors();

    [[maybe_unused]] Settings& m_settings;
    SnippetStore m_store;
    ListMenu m_menu;
    TransientKeyTap m_keyTap;
    std::optional<int> m_outsideClickMonitor;
    std::optional<int> m_appSwitchToken;
    SnippetPicker::State m_state;
    std::vector<Snippet> m_visible;
    bool m_active = false;
    /// Queued work and monitors hold this weakly and do nothing once the
    /// feature is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace quillon
