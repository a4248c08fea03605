#include "ui/panes/SwipePane.h"

#include "permissions/AccessibilityPermission.h"
#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/PaneKit.h"

#include <QPointer>
#include <QVBoxLayout>

namespace quillon {

SwipePaneState SwipePane::currentState() const
{
    return SwipePaneState::read(model().features.settings, model().features.permission.isGranted());
}

SwipePane::SwipePane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    Settings& settings = model.features.settings;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::swipe,
        helpRows({
            {"The same gesture",
             "swipe between desktops the way you always have — Quillon only removes the slide"},
            {"Nothing new to learn", "no extra shortcut; the workspace overview and your desktop's own workspace "
                                     "keys keep working as before"},
            {"Needs Accessibility", "the swipe is read from the X server's touchpad gestures (X.Org 21.1 or later) "
                                    "— without them Swipe stays silent"},
        })));

    QPointer<SettingsModel> weakModel(&model);
    m_gate = new PermissionGate(
        QStringLiteral("Accessibility"),
        QStringLiteral("the touchpad swipe is read from the X server — until then the desktop still changes, with "
                       "your window manager's own switch"),
        model.features.permission.isGranted(), [weakModel] {
            if (!weakModel)
                return;
            weakModel->features.permission.requestAccess();
            weakModel->refresh();
        });
    m_sections << m_gate;

    auto* feedback = new FormSection(
        QStringLiteral("Feedback"),
        paneText("The notch chip falls back to the on-screen number when there is nowhere to draw it. This is "
                 "also the chip Jump shows for r⌘ and a digit."));
    m_feedback =
        new SegmentedControl({QStringLiteral("In the notch"), QStringLiteral("On screen"), QStringLiteral("Nothing")});
    m_feedback->setAccessibleName(QStringLiteral("Show the desktop number"));
    connect(m_feedback, &SegmentedControl::chosen, this, [this, &settings](int index) {
        // The selected segment stands for a pair the segments may not write
        // ("In the notch" with no on-screen number): choosing it keeps that.
        const auto chosen = Settings::spaceFeedbackFromRaw(index);
        if (!chosen || index == currentState().feedbackIndex)
            return;
        settings.setSpaceFeedback(*chosen);
    });
    feedback->addLabeledRow(QStringLiteral("Show the desktop number"), m_feedback);
    m_sections << feedback;

    placeForm(*this, form, m_sections);
}

void SwipePane::reload()
{
    PaneView::reload();
    const SwipePaneState now = currentState();
    m_gate->setGranted(!now.showsGate);
    m_feedback->setSelectedIndex(now.feedbackIndex);
}

} // namespace quillon
