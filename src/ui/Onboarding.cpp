#include "ui/Onboarding.h"

#include "app/FeatureRegistry.h"
#include "features/breaks/BreaksFeature.h"
#include "features/clipboard/ClipboardFeature.h"
#include "features/jump/JumpFeature.h"
#include "features/ocr/OCRFeature.h"
#include "features/snippets/SnippetsFeature.h"
#include "notch/NotchFeature.h"
#include "notch/NotchStates.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/AutomationPermission.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/KeyNames.h"
#include "support/Symbols.h"
#include "support/Words.h"
#include "ui/SettingsModel.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QPointer>
#include <algorithm>

namespace quillon {

bool Onboarding::needsPermission(SettingsPane pane)
{
    return FeatureRegistry::needsAccessibility(pane) || pane.needsAccessibilityToTrigger() ||
           pane == SettingsPane::ocr || pane == SettingsPane::shelf;
}

std::vector<SettingsPane> Onboarding::steps(const std::vector<SettingsPane>& panes)
{
    std::vector<SettingsPane> result;
    for (const SettingsPane pane : panes) {
        if (pane != SettingsPane::gettingStarted && pane != SettingsPane::general &&
            pane != SettingsPane::notch && pane != SettingsPane::about)
            result.push_back(pane);
    }
    std::stable_partition(result.begin(), result.end(), needsPermission);
    return result;
}

Onboarding::Ask Onboarding::ask(SettingsPane pane)
{
    return needsPermission(pane) ? Ask::permission : Ask::nothing;
}

double Onboarding::fraction(int index, int total)
{
    if (total < 1)
        return 1.0;
    index = std::max(index, 0);
    if (index >= total)
        return 1.0;
    return double(std::min(total, index + 1)) / total;
}

QString Onboarding::menuLabel(int index, int total)
{
    const int k = index < 1 || total < 1 ? 0 : std::min(index, total);
    const int n = std::min(std::max(total, 1), k + 1);
    return QStringLiteral("Getting Started — %1 of %2").arg(n).arg(total);
}

OnboardingPermission::Need OnboardingPermission::need(SettingsPane pane, SettingsModel& model)
{
    using platform::SettingsPage;
    QPointer<SettingsModel> weak(&model);
    if (pane == SettingsPane::ocr) {
        // An X11 session grants capture to every program: no relaunch follows.
        return {QStringLiteral("Screen Recording"),
                QStringLiteral("OCR reads the region you draw off the screen."),
                ScreenRecordingPermission::grantedAtLaunch ||
                    platform::platform().permissions().screenCaptureAllowed(),
                [weak] {
                    if (weak)
                        weak->refresh();
                },
                [] { SystemSettingsLink::open(SettingsPage::screenCapture); }};
    }
    if (pane == SettingsPane::shelf) {
        return {Words::adapt(QStringLiteral("Automation (Finder)")),
                KeyNames::label(
                    Words::adapt(QStringLiteral("Only so r⌘ r⌥ S can stash whatever you have selected in "
                                                "Finder. Dragging files onto the shelf needs nothing."))),
                platform::platform().permissions().automationConsent() != platform::AutomationConsent::denied,
                [weak] {
                    AutomationPermission::request([weak] {
                        if (weak)
                            weak->refresh();
                    });
                },
                [] { SystemSettingsLink::open(SettingsPage::automation); }};
    }
    AccessibilityPermission& permission = model.features.permission;
    return {
        QStringLiteral("Accessibility"),
        QStringLiteral("Moving windows and global shortcuts need an X11 session with the XTEST and XInput "
                       "extensions."),
        permission.isGranted(), [&permission] { permission.requestAccess(); },
        [] { SystemSettingsLink::open(SettingsPage::accessibility); }};
}

namespace {

using Demo = OnboardingDemo::Demo;

/// A timed chip at the notch, only while the notch is on.
void showChip(SettingsModel& model, const NotchContent& content)
{
    NotchFeature& notch = model.features.notch;
    if (notch.isActive())
        notch.controller().showChip(content, OnboardingDemo::chipDuration, true);
}

NotchBarItem hint(const QString& text, const QString& badge)
{
    NotchBarItem item;
    item.text = text;
    item.badge = badge;
    return item;
}

Demo made(std::function<void(SettingsModel&)> run, const QString& watchFor, bool needsFeatureOn = false)
{
    return {std::move(run), watchFor, needsFeatureOn};
}

} // namespace

std::optional<OnboardingDemo::Demo> OnboardingDemo::demo(SettingsPane pane)
{
    switch (SettingsPane::Case(pane)) {
    case SettingsPane::snap:
        return made(
            [](SettingsModel& model) {
                NotchFeature& notch = model.features.notch;
                if (!notch.isActive() || !model.features.settings.notchSnapHints())
                    return;
                // The arrows are the keys that snap to the top and bottom
                // halves; U and J would be the top-left and bottom-left corners.
                NotchContent content;
                content.left = {hint(QStringLiteral("Left"), QStringLiteral("\u2190")),
                                hint(QStringLiteral("Right"), QStringLiteral("\u2192"))};
                content.right = {hint(QStringLiteral("Top"), QStringLiteral("\u2191")),
                                 hint(QStringLiteral("Bottom"), QStringLiteral("\u2193"))};
                content.caption = QStringLiteral("snap \u00b7 release to place");
                // No chord is held, so no release would take the row down.
                notch.showHintRow(content, chipDuration);
            },
            QStringLiteral("The hint strip at the notch \u2014 the real one, from holding ") +
                KeyNames::label(QStringLiteral("\u2303\u2325")) + QStringLiteral("."));
    case SettingsPane::jump:
        return made(
            [](SettingsModel& model) {
                model.features.notch.showLeaderHints(model.features.jump.hintItems(Leader::command),
                                                     QStringLiteral("press a key to jump"), chipDuration);
            },
            QStringLiteral("Your own apps, each on the letter that jumps to it."));
    case SettingsPane::colorPicker:
        return made(
            [](SettingsModel& model) {
                showChip(model, NotchStates::colorChip(QStringLiteral("#5B5BD6"),
                                                       QColor::fromRgbF(0.357f, 0.357f, 0.839f)));
            },
            QStringLiteral("The picked colour, already copied \u2014 that's the whole interaction."));
    case SettingsPane::clipboard:
        return made([](SettingsModel& model) { model.features.clipboard.showPicker(); },
                    QStringLiteral("The real picker, at your cursor \u2014 the same one hold-") +
                        KeyNames::label(QStringLiteral("\u2318V")) + QStringLiteral(" opens."),
                    true);
    case SettingsPane::snippets:
        return made([](SettingsModel& model) { model.features.snippets.showPicker(); },
                    QStringLiteral("The picker: type a name, press \u23ce, the text is pasted."), true);
    case SettingsPane::ocr:
        return made([](SettingsModel& model) { model.features.ocr.trigger(); },
                    QStringLiteral("Draw a box over any text on screen \u2014 Esc cancels."), true);
    case SettingsPane::breaks:
        return made([](SettingsModel& model) { model.features.breaks.preview(); },
                    QStringLiteral("A real break screen for a few seconds. Esc twice leaves early."));
    case SettingsPane::swipe:
        return made([](SettingsModel& model) { model.features.notch.showSpaceChip(2); },
                    QStringLiteral("Which desktop you landed on, with no sliding animation."));
    case SettingsPane::awake:
        return made([](SettingsModel& model) { showChip(model, NotchStates::sessionChip(true, 30)); },
                    QStringLiteral("A running session, and when it ends."));
    case SettingsPane::sweep:
    case SettingsPane::autoQuit:
        return made(
            [](SettingsModel& model) {
                if (!model.features.settings.sweepQuitChips())
                    return;
                showChip(model, NotchStates::appQuitChip(SettingsPane(SettingsPane::sweep).icon(),
                                                         QStringLiteral("Preview")));
            },
            QStringLiteral("You're told what was quit \u2014 it never happens silently."));
    default:
        return std::nullopt;
    }
}

} // namespace quillon
