#pragma once

#include "app/Feature.h"
#include "features/snippets/SnippetStore.h"

#include <functional>

namespace quillon {

class Settings;

/// Stored texts inserted by name from a picker.
class SnippetsFeature final : public BasicFeature {
public:
    explicit SnippetsFeature(Settings& settings);

    /// An inserted snippet could only be put on the clipboard, not pasted.
    std::function<void()> onCopiedWithoutPaste;

    void showPicker() {}

    /// The one snippet store; the settings panes use it whether or not the
    /// feature is switched on.
    SnippetStore& store() { return m_store; }

private:
    [[maybe_unused]] Settings& m_settings;
    SnippetStore m_store;
};

} // namespace quillon
