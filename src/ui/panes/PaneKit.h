#pragma once

#include "app/SettingsPane.h"

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QList>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QFrame;
class QLabel;
class QPushButton;

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

/// "How it works" made of the given rows, in order.
QWidget* helpColumn(const QList<QWidget*>& rows);

/// A "How it works" row with the keys it speaks of on the right.
QWidget* keyedHelpRow(const QString& title, const QString& sub, QWidget* keys);

/// The closing "Shortcut" section: `label` and the pane's feature chords.
FormSection* shortcutSection(SettingsPane pane, QWidget* label);
FormSection* shortcutSection(SettingsPane pane, const QString& label);

/// "Needed to work": the Accessibility row of a feature that needs it. Its
/// request asks for trust and then redraws the pane.
PermissionGate* accessibilityGate(SettingsModel& model, const QString& sub);

/// A wrapping text of `pixelSize` (halves allowed), in the secondary tone
/// when asked.
QLabel* paneLabel(const QString& text, double pixelSize, QFont::Weight weight = QFont::Normal,
                  bool secondary = false);

/// A button in the compact size of buttons inside a row.
QPushButton* compactButton(const QString& title);

/// The button a pane's row or footer leads with: filled with the accent,
/// white text. `small` is the compact size of buttons inside a row.
QPushButton* prominentButton(const QString& title, bool small = false);

/// A one-pixel horizontal rule in the divider colour.
QFrame* hairline();

/// A rounded plate behind a group of rows: filled with `colour` (the text
/// colour when none is given) at `fillOpacity`, edged at `edgeOpacity`.
class Plate final : public QWidget {
    Q_OBJECT

public:
    Plate(double radius, double fillOpacity, double edgeOpacity = 0, std::optional<QColor> colour = {},
          QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double m_radius;
    double m_fill;
    double m_edge;
    std::optional<QColor> m_colour;
};

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
