#pragma once

#include "ui/PaneView.h"

#include <QStringList>
#include <array>
#include <optional>

namespace quillon {

class AppIdChips;
class ChoiceBox;
class FormSection;
class Settings;

/// What the Breaks pane shows, read from the store.
struct BreaksPaneState {
    /// The stored work interval when it is one of the choices.
    std::optional<int> workInterval;
    /// The stored break length when it is one of the choices.
    std::optional<int> breakSeconds;
    /// Each id once, in ascending order.
    QStringList excludedApps;
};

/// The pane of the break reminders: the work interval and break length,
/// three behaviour switches, the apps during which no break starts and the
/// feature chord.
class BreaksPane final : public PaneView {
    Q_OBJECT

public:
    explicit BreaksPane(SettingsModel& model, QWidget* parent = nullptr);

    /// Both lists are fixed: a stored value outside them selects nothing
    /// and is left as it is.
    static constexpr std::array<int, 6> workIntervalChoices{5, 15, 20, 30, 45, 60};
    static constexpr std::array<int, 3> breakLengthChoices{20, 30, 60};

    static BreaksPaneState state(const Settings& settings);

    void reload() override;

    ChoiceBox* workIntervalBox() const { return m_work; }
    ChoiceBox* breakLengthBox() const { return m_break; }
    AppIdChips* excludedChips() const { return m_excluded; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    QList<FormSection*> m_sections;
    ChoiceBox* m_work = nullptr;
    ChoiceBox* m_break = nullptr;
    AppIdChips* m_excluded = nullptr;
};

} // namespace quillon
