#pragma once

#include "app/SettingsPane.h"

#include <QWidget>

class QLabel;

namespace quillon {

class HowItWorks;
class SettingsModel;
class ToggleSwitch;

/// The opening of every feature pane: the tinted tile with the pane's glyph,
/// title and blurb, the feature's switch on the right (none for the notch,
/// which is always on), then "How it works" holding `help`.
class FeatureHeader final : public QWidget {
    Q_OBJECT

public:
    FeatureHeader(SettingsModel& model, SettingsPane pane, QWidget* help, QWidget* parent = nullptr);

    /// None for the notch.
    ToggleSwitch* masterSwitch() const { return m_switch; }
    HowItWorks* howItWorks() const { return m_howItWorks; }
    QWidget* tile() const { return m_tile; }
    /// Only the notch's tile has the thin white edge (its tint is black).
    static bool tileHasBorder(SettingsPane pane) { return pane == SettingsPane::notch; }

private:
    ToggleSwitch* m_switch = nullptr;
    HowItWorks* m_howItWorks = nullptr;
    QWidget* m_tile = nullptr;
};

} // namespace quillon
