#pragma once

#include "app/Feature.h"

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

private:
    [[maybe_unused]] Settings& m_settings;
};

} // namespace quillon
