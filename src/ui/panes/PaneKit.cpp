#include "ui/panes/PaneKit.h"

#include "input/FeatureChords.h"
#include "permissions/AccessibilityPermission.h"
#include "support/KeyNames.h"
#include "support/Words.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"

#include <QPointer>
#include <QVBoxLayout>

namespace quillon {

void placeForm(QWidget& pane, PaneForm* form, const QList<FormSection*>& sections)
{
    for (FormSection* each : sections)
        form->addSection(each);
    auto* layout = new QVBoxLayout(&pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

QString paneText(const char* words)
{
    return KeyNames::label(Words::adapt(QString::fromUtf8(words)));
}

QWidget* helpRows(const std::vector<std::pair<const char*, const char*>>& rows)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    for (const auto& [title, sub] : rows)
        layout->addWidget(new RowLabel(paneText(title), paneText(sub)));
    return box;
}

FormSection* shortcutSection(SettingsPane pane, QWidget* label)
{
    auto* section = new FormSection(QStringLiteral("Shortcut"));
    section->addLabeledRow(label, new Hotkeys(FeatureChords::chords(pane)));
    return section;
}

FormSection* shortcutSection(SettingsPane pane, const QString& label)
{
    return shortcutSection(pane, new RowLabel(label));
}

PermissionGate* accessibilityGate(SettingsModel& model, const QString& sub)
{
    AccessibilityPermission& permission = model.features.permission;
    QPointer<SettingsModel> weakModel(&model);
    return new PermissionGate(QStringLiteral("Accessibility"), sub, permission.isGranted(),
                              [&permission, weakModel] {
                                  permission.requestAccess();
                                  if (weakModel)
                                      weakModel->refresh();
                              });
}

ChoiceBox::ChoiceBox(const QString& accessibleName, QWidget* parent)
    : QComboBox(parent)
{
    setAccessibleName(accessibleName);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

void ChoiceBox::setChoices(const std::vector<std::pair<QString, int>>& choices)
{
    bool same = int(choices.size()) == count();
    for (int i = 0; same && i < count(); ++i)
        same = itemText(i) == choices[std::size_t(i)].first && tagAt(i) == choices[std::size_t(i)].second;
    if (same)
        return;
    const QSignalBlocker quiet(this);
    clear();
    for (const auto& [title, tag] : choices)
        addItem(title, tag);
}

void ChoiceBox::select(std::optional<int> tag)
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(tag ? findData(*tag) : -1);
}

std::optional<int> ChoiceBox::selectedTag() const
{
    if (currentIndex() < 0)
        return std::nullopt;
    return tagAt(currentIndex());
}

QStringList ChoiceBox::titles() const
{
    QStringList result;
    for (int i = 0; i < count(); ++i)
        result << itemText(i);
    return result;
}

} // namespace quillon
