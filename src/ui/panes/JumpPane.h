#pragma once

#include "notch/NotchBarItem.h"
#include "ui/PaneView.h"

#include <QIcon>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QVBoxLayout;

namespace quillon {

class AppChipsRow;
class ChoiceBox;
class FormSection;
class JumpBindingRow;
class PermissionGate;
class RowLabel;
class Settings;
class ShowMeRow;

/// An application listed with its letter.
struct JumpBindingApp {
    QString bundleID;
    QString name;
    std::optional<QIcon> icon;
};

/// What the Jump pane shows besides its switches.
struct JumpPaneState {
    /// The second explainer row's sub-text, with the stored hold delay.
    QString holdSubtitle;
    /// "Show me the hints" while Jump is on; "Turn Jump on to try it" otherwise.
    bool showsDemo = false;
    /// The sub-text of the desktop row, after the Swipe switch.
    QString desktopSubtitle;
    /// "Hints shown" follows the leader hints switch.
    bool hintCountEnabled = false;
    /// The stored hint count when it is one of the choices.
    std::optional<int> selectedHintCount;
    /// Running applications first, then pinned ones that are not running.
    std::vector<JumpBindingApp> bindingApps;
    /// The ignored ids, each once, in ascending order.
    QStringList ignoredApps;
};

/// The pane of jump: how the right-hand Ctrl chord works, a live hint strip,
/// the permission it needs, its keys and behaviour, the pinned letters and
/// the apps left without an automatic letter.
class JumpPane final : public PaneView {
    Q_OBJECT

public:
    explicit JumpPane(SettingsModel& model, QWidget* parent = nullptr);

    /// How long the demonstrated hint strip stays.
    static constexpr double demoSeconds = 2.5;
    static constexpr const char* demoCaption = "press a key to jump";

    static std::vector<JumpBindingApp> bindingApps(const Settings& settings);
    static JumpPaneState state(const Settings& settings);

    /// Asks for the letter of an app (by its name): none when cancelled, an
    /// empty answer to unpin; replaced by tests.
    std::function<std::optional<std::optional<QString>>(const QString&)> prompt;
    /// Asks for a letter for `bundleID` and pins it there.
    void applyLetterAnswer(const QString& bundleID);

    /// How the demonstration reaches the notch; replaced by tests.
    std::function<void(const std::vector<NotchBarItem>&, const QString& caption, double seconds)> showHints;
    /// "Show me the hints": the command leader's strip, for a moment.
    void showMeTheHints();

    void reload() override;

    RowLabel* holdRow() const { return m_holdRow; }
    ShowMeRow* showMeRow() const { return m_showMe; }
    RowLabel* turnOnRow() const { return m_turnOn; }
    RowLabel* desktopRow() const { return m_desktopRow; }
    ChoiceBox* hintCountBox() const { return m_hintCount; }
    PermissionGate* gate() const { return m_gate; }
    /// The "Letters" rows, in order.
    QList<JumpBindingRow*> letterRows() const { return m_letterRows; }
    AppChipsRow* ignoredChips() const { return m_ignored; }
    /// Every section in order, shown or not.
    QList<FormSection*> sections() const { return m_sections; }

private:
    void showLetters(const std::vector<JumpBindingApp>& apps);

    QList<FormSection*> m_sections;
    RowLabel* m_holdRow = nullptr;
    ShowMeRow* m_showMe = nullptr;
    RowLabel* m_turnOn = nullptr;
    PermissionGate* m_gate = nullptr;
    RowLabel* m_desktopRow = nullptr;
    ChoiceBox* m_hintCount = nullptr;
    QWidget* m_letters = nullptr;
    QVBoxLayout* m_lettersLayout = nullptr;
    QList<JumpBindingRow*> m_letterRows;
    QWidget* m_addLetter = nullptr;
    /// The ids and names the rows were built for.
    QStringList m_lettersShown;
    AppChipsRow* m_ignored = nullptr;
};

} // namespace quillon
