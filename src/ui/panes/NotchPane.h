#pragma once

#include "notch/NotchContent.h"
#include "ui/PaneView.h"

#include <functional>

namespace quillon {

class FormSection;
class Settings;
class ShowMeRow;

/// What the Notch pane shows besides its switches.
struct NotchPaneState {
    /// "Display", with the stand-in notch: only where no screen has a notch.
    bool showsDisplay = false;
    /// "Media keys while a track is playing": only while now playing is on.
    bool showsMediaKeys = false;
    bool operator==(const NotchPaneState&) const = default;
};

/// The pane of the notch bar, which is always on: what it shows, a sample
/// chip on request, the stand-in notch, the hints and the chips.
class NotchPane final : public PaneView {
    Q_OBJECT

public:
    explicit NotchPane(SettingsModel& model, QWidget* parent = nullptr);

    static NotchPaneState state(const Settings& settings, bool hasPhysicalNotch);
    /// The chip "Show me" draws.
    static NotchContent sampleChip();
    /// Seconds the sample stays.
    static constexpr double sampleSeconds = 2.5;

    /// "Show me": the sample chip, only while the notch feature runs.
    void showSample();
    /// How the sample reaches the notch; replaced by tests.
    std::function<void(const NotchContent&, double)> showChip;

    void reload() override;

    ShowMeRow* showMeRow() const { return m_showMe; }
    FormSection* displaySection() const { return m_display; }
    FormSection* mediaKeysSection() const { return m_mediaKeys; }
    /// Every section in order, shown or not.
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    ShowMeRow* m_showMe = nullptr;
    FormSection* m_display = nullptr;
    FormSection* m_mediaKeys = nullptr;
};

} // namespace quillon
