#pragma once

#include "ui/PaneView.h"

namespace quillon {

class KeyChip;

/// The pane of the colour picker: its fixed key and the note that it needs
/// no grant. Nothing to set beyond the switch.
class ColorPickerPane final : public PaneView {
    Q_OBJECT

public:
    /// The picker's fixed global key.
    static constexpr const char* chord = "⌃⌥⇧C";

    explicit ColorPickerPane(SettingsModel& model, QWidget* parent = nullptr);

    KeyChip* keyChip() const { return m_chip; }

private:
    KeyChip* m_chip = nullptr;
};

} // namespace quillon
