#include "ui/panes/PaneKit.h"

#include "input/FeatureChords.h"
#include "permissions/AccessibilityPermission.h"
#include "support/DS.h"
#include "support/KeyNames.h"
#include "support/Words.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
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
    QList<QWidget*> labels;
    for (const auto& [title, sub] : rows)
        labels << new RowLabel(paneText(title), paneText(sub));
    return helpColumn(labels);
}

QWidget* helpColumn(const QList<QWidget*>& rows)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(9);
    for (QWidget* row : rows)
        layout->addWidget(row);
    return box;
}

QWidget* keyedHelpRow(const QString& title, const QString& sub, QWidget* keys)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(new RowLabel(title, sub), 1);
    layout->addWidget(keys, 0, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

QLabel* paneLabel(const QString& text, double pixelSize, QFont::Weight weight, bool secondary)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setFont(pixelFont(label->font(), pixelSize, weight));
    if (secondary)
        label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QPushButton* compactButton(const QString& title)
{
    auto* button = new QPushButton(title);
    button->setAccessibleName(title);
    button->setFont(pixelFont(button->font(), 11));
    return button;
}

QPushButton* prominentButton(const QString& title, bool small)
{
    QPushButton* button = small ? compactButton(title) : new QPushButton(title);
    button->setAccessibleName(title);
    QPalette palette = button->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Button, DS::accent());
        palette.setColor(group, QPalette::ButtonText, Qt::white);
    }
    button->setPalette(palette);
    return button;
}

QFrame* hairline()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);
    line->setFixedHeight(1);
    return line;
}

Plate::Plate(double radius, double fillOpacity, double edgeOpacity, std::optional<QColor> colour,
             QWidget* parent)
    : QWidget(parent)
    , m_radius(radius)
    , m_fill(fillOpacity)
    , m_edge(edgeOpacity)
    , m_colour(colour)
{
}

void Plate::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor base = m_colour.value_or(palette().color(QPalette::WindowText));
    QColor fill = base;
    fill.setAlphaF(float(m_fill));
    painter.setBrush(fill);
    if (m_edge > 0) {
        QColor edge = base;
        edge.setAlphaF(float(m_edge));
        painter.setPen(QPen(edge, 1));
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), m_radius, m_radius);
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
