#include "ui/panes/ColorPickerPane.h"

#include "ui/PaneForm.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/RowLabel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace quillon {

ColorPickerPane::ColorPickerPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    auto* help = new QWidget;
    auto* helpLayout = new QVBoxLayout(help);
    helpLayout->setContentsMargins(0, 0, 0, 0);
    helpLayout->setSpacing(9);
    auto* pick = new QWidget;
    auto* pickLayout = new QHBoxLayout(pick);
    pickLayout->setContentsMargins(0, 0, 0, 0);
    pickLayout->setSpacing(12);
    pickLayout->addWidget(new RowLabel(QStringLiteral("Pick a color"),
                                       QStringLiteral("press it, then click any pixel — a loupe follows the cursor")),
                          1);
    m_chip = new KeyChip(QString::fromUtf8(chord));
    pickLayout->addWidget(m_chip, 0, Qt::AlignRight | Qt::AlignVCenter);
    helpLayout->addWidget(pick);
    helpLayout->addWidget(new RowLabel(QStringLiteral("Nothing to grant"),
                                       QStringLiteral("it uses Quillon's own loupe over a still image of the screen, "
                                                      "so no permission prompt ever appears")));

    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(model, SettingsPane::colorPicker, help));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

} // namespace quillon
