#pragma once

#include "ui/PaneView.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QTimeZone>
#include <functional>
#include <optional>
#include <vector>

class QLabel;

namespace quillon {

class AppIdChips;
class ChoiceBox;
class FormSection;
class RowLabel;
class SegmentedControl;
class Settings;

/// One entry of the "Length" pop-up.
struct AwakeLengthChoice {
    QString title;
    int minutes = 0;
    bool operator==(const AwakeLengthChoice&) const = default;
};

/// The running keep-awake session as the pane shows it.
struct AwakeSessionFacts {
    std::optional<QDateTime> endsAt;
    /// Only for a session a trigger started.
    std::optional<QString> trigger;
};

/// What the Awake pane shows, read from the store and the running session.
struct AwakePaneState {
    /// The "Running" line; none while no session runs.
    std::optional<QString> running;
    /// "Mode": "Timed" when the stored minutes are not 0.
    bool timed = false;
    bool lengthEnabled = false;
    QString lengthSubtitle;
    std::vector<AwakeLengthChoice> lengthChoices;
    /// The selected length; none for a stored negative value.
    std::optional<int> selectedMinutes;
    /// "App triggers": each id once, in ascending order.
    QStringList triggerApps;
};

/// The pane of keep-awake sessions: the switch starts or ends a session,
/// the rows choose an indefinite or timed session and its length, let the
/// display sleep, and set the automatic triggers and the low-battery end.
class AwakePane final : public PaneView {
    Q_OBJECT

public:
    explicit AwakePane(SettingsModel& model, QWidget* parent = nullptr);

    /// The "Custom…" entry's tag.
    static constexpr int customTag = -1;

    static std::vector<AwakeLengthChoice> lengthChoices(qint64 storedMinutes);
    static AwakePaneState state(const Settings& settings, const std::optional<AwakeSessionFacts>& session,
                                const QDateTime& now, const QLocale& locale, const QTimeZone& zone);
    /// The state now, with the feature's session and the platform clock.
    AwakePaneState currentState() const;

    /// Asks for a custom length; replaced by tests.
    std::function<std::optional<int>()> prompt;

    void reload() override;

    SegmentedControl* modeControl() const { return m_mode; }
    ChoiceBox* lengthBox() const { return m_length; }
    RowLabel* lengthLabel() const { return m_lengthLabel; }
    QWidget* runningRow() const { return m_runningRow; }
    QString runningText() const;
    AppIdChips* triggerChips() const { return m_triggerApps; }
    QList<FormSection*> sections() const { return m_sections; }

private:
    void chooseLength(int tag);
    void askForLength();

    QList<FormSection*> m_sections;
    QWidget* m_runningRow = nullptr;
    QLabel* m_runningValue = nullptr;
    SegmentedControl* m_mode = nullptr;
    ChoiceBox* m_length = nullptr;
    RowLabel* m_lengthLabel = nullptr;
    AppIdChips* m_triggerApps = nullptr;
};

} // namespace quillon
