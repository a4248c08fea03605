#include "ui/panes/SnapPane.h"

#include "features/snap/SnapFeature.h"
#include "features/snap/WindowSnapper.h"
#include "permissions/AccessibilityPermission.h"
#include "platform/Displays.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "ui/EdgeTiling.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/SnapShortcut.h"
#include "ui/TimeText.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/SnapNowRow.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"

#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

bool holdsNextDisplay(const std::vector<SnapShortcut>& shortcuts)
{
    return std::any_of(shortcuts.begin(), shortcuts.end(),
                       [](const SnapShortcut& each) { return each.position == SnapPosition::nextDisplay; });
}

std::optional<int> chosenDelay(double seconds)
{
    for (const int ms : SnapPane::holdDelayChoicesMs) {
        if (std::abs(seconds - ms / 1000.0) < 1e-9)
            return ms;
    }
    return std::nullopt;
}

} // namespace

SnapPaneState SnapPane::state(const Settings& settings, int screenCount, const std::function<bool()>& tilingEnabled)
{
    SnapPaneState state;
    // The window manager is not asked while its answer would not be shown.
    state.showsTilingWarning = settings.snapOnDrag() && tilingEnabled && tilingEnabled();
    state.selectedDelayMs = chosenDelay(settings.notchHintDelay());
    const auto& groups = SnapShortcut::groups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (screenCount <= 1 && holdsNextDisplay(groups[i].second))
            continue;
        QString header = groups[i].first;
        if (state.groups.empty())
            header += QString::fromUtf8(clickHint);
        state.groups.push_back({i, header});
    }
    return state;
}

SnapPaneState SnapPane::currentState() const
{
    return state(model().features.settings, int(platform::platform().displays().screens().size()),
                 edgeTilingEnabled);
}

SnapPane::SnapPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , edgeTilingEnabled([] { return EdgeTiling::isEnabled(); })
{
    using BoolPath = Settings::KeyPath<bool>;
    SnapFeature& snap = model.features.snap;
    snapNow = [&snap](SnapPosition position, std::optional<int32_t> pid) { snap.snapper().snap(position, pid); };

    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::snap,
        helpRows({
            {"Three ways", "⌃⌥ plus an arrow or a letter, dragging a window to a screen edge, or holding ⌃⌥ and "
                           "flicking the mouse toward a side"},
            {"Undo", "⌃⌥ ⌫ puts the window back where it was before the snap"},
            {"Forgot a key?", "hold ⌃⌥ for a moment and the available positions appear around the notch"},
        })));

    m_gate = accessibilityGate(
        model, QStringLiteral("moving other apps' windows needs an X11 session with the XTEST and XInput extensions "
                              "— until Quillon runs in one, none of the shortcuts below do anything"));
    m_sections << m_gate;

    auto* snapping = new FormSection(QStringLiteral("Snapping"));
    snapping->addToggleRow(
        new RowLabel(QStringLiteral("Keyboard shortcuts"),
                     paneText("global ⌃⌥ window shortcuts; off = the app never listens for these keys")),
        model.bind(BoolPath{&Settings::snapKeyboardShortcuts, &Settings::setSnapKeyboardShortcuts}));
    snapping->addToggleRow(new RowLabel(QStringLiteral("Snap on drag to edge"),
                                        QStringLiteral("drag a window to a screen edge or corner to snap it")),
                           model.bind(BoolPath{&Settings::snapOnDrag, &Settings::setSnapOnDrag}));
    snapping->addToggleRow(
        new RowLabel(QStringLiteral("Mouse snap"),
                     // The comma is the sentence's, not a key held with the chord.
                     paneText("hold ⌃⌥") + QStringLiteral(", move toward a direction, release to snap the front "
                                                          "window")),
        model.bind(BoolPath{&Settings::snapMouseSnap, &Settings::setSnapMouseSnap}));
    snapping->addToggleRow(
        new RowLabel(QStringLiteral("Snap hold hints"),
                     paneText("holding ⌃⌥ shows snap-position hints around the notch")),
        model.bind(BoolPath{&Settings::notchSnapHints, &Settings::setNotchSnapHints}));
    m_delay = new ChoiceBox(QStringLiteral("Hold delay"));
    std::vector<std::pair<QString, int>> delays;
    for (const int ms : holdDelayChoicesMs)
        delays.emplace_back(TimeText::holdDelay(ms / 1000.0), ms);
    m_delay->setChoices(delays);
    Settings& settings = model.features.settings;
    connect(m_delay, &QComboBox::activated, this,
            [this, &settings](int index) { settings.setNotchHintDelay(m_delay->tagAt(index) / 1000.0); });
    snapping->addLabeledRow(
        new RowLabel(QStringLiteral("Hold delay"),
                     QStringLiteral("how long a chord is held before its hints appear and the mouse dial arms — "
                                    "one setting for the whole app, including Jump's")),
        m_delay);
    m_warning = new WarningRow(QStringLiteral(
        "Your window manager's own edge tiling is on and may conflict — turn off its drag-to-edge tiling in your "
        "desktop's settings."));
    m_warning->hide();
    snapping->addRow(m_warning);
    m_sections << snapping;

    // Every group is built once; the screen count only shows or hides them.
    for (const auto& [name, shortcuts] : SnapShortcut::groups()) {
        auto* section = new FormSection(name);
        for (const SnapShortcut& shortcut : shortcuts) {
            const SnapPosition position = shortcut.position;
            section->addRow(new SnapNowRow(shortcut, true, [this, position] { snapTarget(position); }));
        }
        m_groups << section;
        m_sections << section;
    }

    placeForm(*this, form, m_sections);
}

void SnapPane::snapTarget(SnapPosition position)
{
    // Asked at the click: the window the person came from may have changed
    // since the pane was drawn.
    const std::optional<int32_t> pid = model().targetPID ? model().targetPID() : std::nullopt;
    if (snapNow)
        snapNow(position, pid);
}

void SnapPane::reload()
{
    PaneView::reload();
    const SnapPaneState now = currentState();
    m_gate->setGranted(model().features.permission.isGranted());
    m_delay->select(now.selectedDelayMs);
    m_warning->setVisible(now.showsTilingWarning);
    for (qsizetype i = 0; i < m_groups.size(); ++i) {
        const auto shown = std::find_if(now.groups.begin(), now.groups.end(),
                                        [i](const SnapGroupShown& each) { return each.group == std::size_t(i); });
        m_groups[i]->setSectionHidden(shown == now.groups.end());
        if (shown != now.groups.end())
            m_groups[i]->headerLabel()->setText(shown->header);
    }
}

} // namespace quillon
