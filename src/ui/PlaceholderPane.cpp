#include "ui/PlaceholderPane.h"

#include "support/KeyNames.h"
#include "ui/PaneForm.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

PlaceholderPane::PlaceholderPane(SettingsModel& model, SettingsPane pane, QWidget* parent)
    : PaneView(model, parent)
{
    auto* form = new PaneForm;
    const auto& features = SettingsPane::features();
    if (std::find(features.begin(), features.end(), pane) != features.end()) {
        form->addSection(new FeatureHeader(model, pane, new Hotkeys(pane.hotkeys())));
    } else {
        auto* title = new QLabel(pane.title());
        QFont font = title->font();
        font.setPixelSize(22);
        font.setWeight(QFont::DemiBold);
        title->setFont(font);
        form->addSection(title);
        if (!pane.blurb().isEmpty()) {
            auto* blurb = new QLabel(KeyNames::label(pane.blurb()));
            blurb->setWordWrap(true);
            blurb->setForegroundRole(QPalette::PlaceholderText);
            form->addSection(blurb);
        }
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
}

} // namespace quillon
