#pragma once

#include "app/SettingsPane.h"

#include <QComboBox>
#include <QList>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

namespace quillon {

class FormSection;
class PaneForm;
class PermissionGate;
class SettingsModel;

/// Puts `sections` into `form`, in order, and `form` alone into `pane`,
/// edge to edge.
void placeForm(QWidget& pane, PaneForm* form, const QList<FormSection*>& sections);

/// A text as a person on this desktop reads it: its words and its keys.
QString paneText(const char* words);

/// The rows of a pane's "How it works": each a title and its explanation.
QWidget* helpRows(const std::vector<std::pair<const char*, const char*>>& rows);

/// The closing "Shortcut" section: `label` and the pane's feature chords.
FormSection* shortcutSection(SettingsPane pane, QWidget* label);
FormSection* shortcutSection(SettingsPane pane, const QString& label);

/// "Needed to work": the Accessibility row of a feature that needs it. Its
/// request asks for trust and then redraws the pane.
PermissionGate* accessibilityGate(SettingsModel& model, const QString& sub);

/// A pop-up of titled integer choices. Only a person's choice is reported,
/// through `activated`; showing a value never stores it.
class ChoiceBox final : public QComboBox {
    Q_OBJECT

public:
    explicit ChoiceBox(const QString& accessibleName, QWidget* parent = nullptr);

    /// Replaces the entries, unless they are the same already (an open
    /// pop-up keeps its list while the pane redraws).
    void setChoices(const std::vector<std::pair<QString, int>>& choices);
    /// Selects the entry tagged `tag`; none (a blank box) for no tag or one
    /// outside the list.
    void select(std::optional<int> tag);
    /// The tag of the selected entry; none when nothing is selected.
    std::optional<int> selectedTag() const;
    /// The entries' titles in order.
    QStringList titles() const;
    /// The tag of entry `index`.
    int tagAt(int index) const { return itemData(index).toInt(); }
};

} // namespace quillon
