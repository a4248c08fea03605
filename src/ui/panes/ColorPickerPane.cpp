#include "ui/panes/ColorPickerPane.h"

#include "ui/PaneForm.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/PaneKit.h"

#include <QVBoxLayout>

namespace quillon {

ColorPickerPane::ColorPickerPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    m_chip = new KeyChip(QString::fromUtf8(chord));
    QWidget* help = helpColumn({
        keyedHelpRow(QStringLiteral("Pick a color"),
                     QStringLiteral("press it, then click any pixel — a loupe follows the cursor"), m_chip),
        new RowLabel(QStringLiteral("Nothing to grant"), QStringLiteral("it uses Quillon's own loupe over a still "
                                                                        "image of the screen, so no permission "
                                                                        "prompt ever appears")),
    });

    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(model, SettingsPane::colorPicker, help));
    placeForm(*this, form, {});
}

} // namespace quillon
