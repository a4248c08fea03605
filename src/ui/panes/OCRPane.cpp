#include "ui/panes/OCRPane.h"

#include "input/FeatureChords.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/MissingPermissions.h"
#include "ui/panes/PaneKit.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

QWidget* help()
{
    return helpColumn({
        keyedHelpRow(
            QStringLiteral("Capture text"),
            QStringLiteral("hold the right-hand Ctrl and Alt keys, then press T — and drag a box over any "
                           "text on screen"),
            new Hotkeys(FeatureChords::chords(SettingsPane::ocr))),
        new RowLabel(
            QStringLiteral("Works on anything"),
            QStringLiteral("a screenshot, a video still, a scanned PDF, an error dialog you can't select — "
                           "if you can see the text, it can copy it")),
        new RowLabel(QStringLiteral("On-device"),
                     QStringLiteral("recognized by Tesseract on this computer — nothing "
                                    "leaves it, and only the box you draw is ever read.")),
    });
}

QWidget* stack(const QList<QWidget*>& widgets, Qt::Alignment last = {})
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    for (QWidget* widget : widgets)
        layout->addWidget(widget, 0, widget == widgets.last() ? last : Qt::Alignment());
    return box;
}

} // namespace

OCRPaneState OCRPane::state(bool grantedAtLaunch, bool grantedNow, bool accessibility)
{
    OCRPaneState state;
    state.showsSection = !(grantedAtLaunch && accessibility);
    if (grantedAtLaunch)
        state.capture = OCRPaneState::Capture::none;
    else if (grantedNow)
        state.capture = OCRPaneState::Capture::relaunchToFinish;
    else
        state.capture = OCRPaneState::Capture::permissionRow;
    state.showsAccessibility = !accessibility;
    return state;
}

OCRPaneState OCRPane::currentState() const
{
    const bool atLaunch = ScreenRecordingPermission::grantedAtLaunch;
    return state(atLaunch, atLaunch || platform::platform().permissions().screenCaptureAllowed(),
                 model().features.permission.isGranted());
}

OCRPane::OCRPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(model, SettingsPane::ocr, help()));

    m_needed = new FormSection(QStringLiteral("Needed to work"));
    auto* relaunchNow = prominentButton(QStringLiteral("Relaunch Quillon"));
    connect(relaunchNow, &QPushButton::clicked, this, &OCRPane::relaunch);
    m_stepRow = m_needed->addLabeledRow(
        new RowLabel(QStringLiteral("Screen Recording granted — one more step"),
                     paneText("macOS only applies it to a fresh launch. Relaunch to finish.")),
        relaunchNow);

    using platform::SettingsPage;
    const PermissionActions actions = permissionRowActions(*this, model, {}, {});
    auto* captureRow = new PermissionRow(
        QStringLiteral("Screen Recording"), false,
        QStringLiteral(
            "until this is granted the crosshair opens but the capture comes back empty — there are "
            "no pixels to read. Relaunch after granting."),
        actions.requestScreenCapture, permissionOpener(actions, SettingsPage::screenCapture));
    auto* relaunchSmall = compactButton(QStringLiteral("Relaunch Quillon"));
    connect(relaunchSmall, &QPushButton::clicked, this, &OCRPane::relaunch);
    m_captureRow = m_needed->addRow(stack({captureRow, relaunchSmall}, Qt::AlignLeft));

    m_accessRow = new PermissionRow(
        QStringLiteral("Accessibility"), false,
        QStringLiteral(
            "the Right Ctrl + Right Alt + T shortcut needs an X11 session with key grabs — without it "
            "OCR runs but nothing can trigger it"),
        actions.requestAccessibility, permissionOpener(actions, SettingsPage::accessibility));
    m_needed->addRow(m_accessRow);
    m_warning = new WarningRow(QStringLiteral("Couldn't start a new Quillon — quit it and start it again."));
    m_needed->addRow(m_warning);

    placeForm(*this, form, {m_needed});
}

void OCRPane::relaunch()
{
    // On success this process is on its way out; only a failure stays to be seen.
    if (ScreenRecordingPermission::relaunch())
        return;
    m_relaunchFailed = true;
    model().refresh();
}

void OCRPane::reload()
{
    PaneView::reload();
    const OCRPaneState now = currentState();
    m_stepRow->setVisible(now.capture == OCRPaneState::Capture::relaunchToFinish);
    m_captureRow->setVisible(now.capture == OCRPaneState::Capture::permissionRow);
    m_accessRow->parentWidget()->setVisible(now.showsAccessibility);
    m_warning->parentWidget()->setVisible(m_relaunchFailed);
    m_needed->setSectionHidden(!now.showsSection);
}

} // namespace quillon
