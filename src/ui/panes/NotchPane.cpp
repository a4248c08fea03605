#include "ui/panes/NotchPane.h"

#include "notch/NotchFeature.h"
#include "notch/NotchGeometry.h"
#include "settings/Settings.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/PaneKit.h"

#include <QVBoxLayout>

namespace quillon {

NotchPaneState NotchPane::state(const Settings& settings, bool hasPhysicalNotch)
{
    return {!hasPhysicalNotch, settings.notchNowPlaying()};
}

NotchContent NotchPane::sampleChip()
{
    NotchContent content;
    NotchBarItem icon;
    icon.icon = SettingsPane(SettingsPane::notch).icon();
    content.left.push_back(icon);
    NotchBarItem on;
    on.text = QStringLiteral("On");
    content.right.push_back(on);
    content.caption = QStringLiteral("Notch");
    return content;
}

NotchPane::NotchPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    using BoolPath = Settings::KeyPath<bool>;
    NotchFeature& notch = model.features.notch;
    showChip = [&notch](const NotchContent& content, double seconds) {
        notch.controller().showChip(content, seconds, true);
    };

    auto* help = helpRows({
        {"Chips", "a small pill that grows out of the notch when something happens, then disappears on its own — "
                  "a battery crossing, a headphone connecting, the track that just started"},
        {"Idle costs nothing",
         "each kind of chip only listens while its switch below is on; with all of them off the notch holds "
         "nothing"},
        {"What else renders here", "leader hints (Jump) · snap hints (Snap) · quit chips (Sweep) · the break "
                                   "countdown (Breaks) — each switched on in its own pane"},
    });
    m_showMe = new ShowMeRow(QStringLiteral("Show me"),
                             QStringLiteral("draws a sample chip at the top of the screen"), [this] { showSample(); });
    help->layout()->addWidget(m_showMe);
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(model, SettingsPane::notch, help));

    m_display = new FormSection(QStringLiteral("Display"),
                                QStringLiteral("Every chip and hint below — plus the Shelf, snap hints and leader "
                                               "hints — renders here. With this off they have nowhere to go."));
    m_display->addToggleRow(
        new RowLabel(QStringLiteral("Draw a stand-in notch"),
                     QStringLiteral("screens here have no notch, so Quillon paints one: a small black bar at the "
                                    "top centre of your main display, only while a chip or hint is up. Off "
                                    "means nothing is drawn at all")),
        model.bind(BoolPath{&Settings::notchOnNotchlessDisplays, &Settings::setNotchOnNotchlessDisplays}));
    m_sections << m_display;

    auto* hints = new FormSection(QStringLiteral("Hints"));
    hints->addToggleRow(new RowLabel(QStringLiteral("Feature key hints"),
                                     paneText("holding r⌘ r⌥ shows what each letter runs — turn it off once "
                                              "you know them")),
                        model.bind(BoolPath{&Settings::notchFeatureHints, &Settings::setNotchFeatureHints}));
    m_sections << hints;

    auto* chips = new FormSection(QStringLiteral("Chips"));
    chips->addToggleRow(
        new RowLabel(QStringLiteral("Battery chips"), QStringLiteral("plug/unplug and 20%/10% crossings")),
        model.bind(BoolPath{&Settings::notchBatteryChips, &Settings::setNotchBatteryChips}));
    chips->addToggleRow(new RowLabel(QStringLiteral("Device chips"),
                                     QStringLiteral("Bluetooth connect/disconnect, with battery % when available")),
                        model.bind(BoolPath{&Settings::notchDeviceChips, &Settings::setNotchDeviceChips}));
    chips->addToggleRow(
        new RowLabel(QStringLiteral("Now playing"),
                     paneText("a constant chip with an audio wave while music plays — any player that speaks "
                              "MPRIS; hover for transport controls, and r⌘ , . / skip and play/pause")),
        model.bind(BoolPath{&Settings::notchNowPlaying, &Settings::setNotchNowPlaying}));
    m_sections << chips;

    // The keys go to the player over MPRIS; nothing is posted as a system key.
    m_mediaKeys = new FormSection(QStringLiteral("Media keys while a track is playing"));
    m_mediaKeys->addLabeledRow(
        new RowLabel(QStringLiteral("Previous track"),
                     paneText("sends ⏮ to the player — any player that speaks MPRIS; the ⌘ right of the space "
                              "bar")),
        new KeyChip(QStringLiteral("r⌘ ,")));
    m_mediaKeys->addLabeledRow(new RowLabel(QStringLiteral("Play / pause"), QStringLiteral("sends ⏯ to the player")),
                               new KeyChip(QStringLiteral("r⌘ /")));
    m_mediaKeys->addLabeledRow(new RowLabel(QStringLiteral("Next track"), QStringLiteral("sends ⏭ to the player")),
                               new KeyChip(QStringLiteral("r⌘ .")));
    m_sections << m_mediaKeys;

    placeForm(*this, form, m_sections);
}

void NotchPane::showSample()
{
    if (!model().features.notch.isActive() || !showChip)
        return;
    showChip(sampleChip(), sampleSeconds);
}

void NotchPane::reload()
{
    PaneView::reload();
    const NotchPaneState now = state(model().features.settings, NotchGeometry::hasPhysicalNotch());
    m_display->setSectionHidden(!now.showsDisplay);
    m_mediaKeys->setSectionHidden(!now.showsMediaKeys);
}

} // namespace quillon
