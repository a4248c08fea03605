#include "ui/panes/JumpPane.h"

#include "features/jump/JumpFeature.h"
#include "input/Leader.h"
#include "notch/NotchFeature.h"
#include "permissions/AccessibilityPermission.h"
#include "platform/Platform.h"
#include "platform/Workspace.h"
#include "settings/Settings.h"
#include "support/Config.h"
#include "ui/AppDirectory.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/Prompts.h"
#include "ui/SettingsModel.h"
#include "ui/TimeText.h"
#include "ui/controls/AppChips.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/JumpBindingRow.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowButton.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

namespace quillon {

namespace {

QString holdSubtitle(double delay)
{
    return QStringLiteral("that strip appears at the top of the screen ") + TimeText::holdDelayPhrase(delay) +
           QStringLiteral(". Tapping a letter switches; letting go without one does nothing.");
}

QStringList sorted(const QSet<QString>& ids)
{
    QStringList list(ids.begin(), ids.end());
    list.removeAll(QString());
    std::sort(list.begin(), list.end());
    return list;
}

std::optional<int> chosenCount(qint64 count)
{
    const auto& choices = Config::notchHintCountChoices;
    if (std::find(choices.begin(), choices.end(), count) == choices.end())
        return std::nullopt;
    return int(count);
}

} // namespace

std::vector<JumpBindingApp> JumpPane::bindingApps(const Settings& settings)
{
    auto& workspace = platform::platform().workspace();
    const std::vector<platform::RunningApp> running = workspace.runningApps();
    std::vector<JumpBindingApp> apps;
    std::set<QString> listed;
    for (const auto& app : AppDirectory::runningDockApps()) {
        if (app.bundleID.isEmpty() || !listed.insert(app.bundleID).second)
            continue;
        std::optional<QIcon> icon;
        const auto process = std::find_if(running.begin(), running.end(), [&](const platform::RunningApp& each) {
            return each.appId == app.bundleID;
        });
        if (process != running.end()) {
            const QIcon found = workspace.icon(*process);
            if (!found.isNull())
                icon = found;
        }
        apps.push_back({app.bundleID, app.name.isEmpty() ? app.bundleID : app.name, icon});
    }
    // Pinned apps that are not running come after every running one, by id.
    std::set<QString> pinned;
    const QMap<QString, QString> forced = settings.jumpForced();
    for (const QString& id : forced) {
        if (!id.isEmpty() && !listed.count(id))
            pinned.insert(id);
    }
    for (const QString& id : pinned) {
        const AppDirectory::Resolved app = AppDirectory::resolve(id);
        apps.push_back({id, app.name, app.icon});
    }
    return apps;
}

JumpPaneState JumpPane::state(const Settings& settings)
{
    JumpPaneState state;
    state.holdSubtitle = holdSubtitle(settings.notchHintDelay());
    state.showsDemo = settings.isJumpEnabled();
    state.desktopSubtitle = settings.isSwipeEnabled()
                                ? QStringLiteral("instantly, with no slide — that's Swipe")
                                : QStringLiteral("straight to that desktop; turn Swipe on for instant touchpad "
                                                 "swipes too");
    state.hintCountEnabled = settings.notchLeaderHints();
    state.selectedHintCount = chosenCount(settings.notchMaxHintItems());
    state.bindingApps = bindingApps(settings);
    state.ignoredApps = sorted(settings.jumpIgnored());
    return state;
}

JumpPane::JumpPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , prompt([](const QString& name) { return JumpLetterPrompt::run(name); })
{
    using BoolPath = Settings::KeyPath<bool>;
    NotchFeature& notch = model.features.notch;
    showHints = [&notch](const std::vector<NotchBarItem>& items, const QString& caption, double seconds) {
        notch.showLeaderHints(items, caption, seconds);
    };
    Settings& settings = model.features.settings;

    // The second row's sub-text follows the stored hold delay: set at each redraw.
    QWidget* help = helpRows({
        {"1 · Hold the ⌘ to the RIGHT of the space bar",
         "Jump listens to the right-hand Ctrl and Alt only — written “Right Ctrl” and “Right Alt” here. The left "
         "ones stay ordinary Ctrl and Alt, so Ctrl+C and Ctrl+V never change."},
        {"2 · Keep holding, then tap the letter shown on an app", " "},
        {"Every app you have open already has a letter",
         "its own first letter, claimed while the app runs and freed when it quits. Apps sharing a first letter "
         "share the key: press it again to step to the next one. Pin a permanent letter — which also launches a "
         "closed app — under Letters below."},
        {"Needs a ⌘ key right of the space bar", "most full-size keyboards have one; many laptop and compact "
                                                 "keyboards don't, and Jump can't be triggered without it."},
    });
    m_holdRow = help->findChildren<RowLabel*>().value(1);
    QLayout* helpLayout = help->layout();
    helpLayout->addWidget(new WarningRow(
        QStringLiteral("While Right Ctrl is held it is no longer Ctrl: Right Ctrl C switches to an app instead of "
                       "copying. Use the Ctrl left of the space bar for normal shortcuts.")));
    m_showMe = new ShowMeRow(QStringLiteral("Show me the hints"),
                             paneText("draws the r⌘ hint strip at the top of the screen for a moment"),
                             [this] { showMeTheHints(); });
    helpLayout->addWidget(m_showMe);
    m_turnOn = new RowLabel(QStringLiteral("Turn Jump on to try it"),
                            QStringLiteral("the hint strip only has letters to show while Jump is running"));
    helpLayout->addWidget(m_turnOn);
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(model, SettingsPane::jump, help));

    m_gate = accessibilityGate(model, paneText("telling the ⌘ right of the space bar from the left one means "
                                               "reading the key event — without this Jump can't see the chord at "
                                               "all"));
    m_sections << m_gate;

    auto* keys = new FormSection(
        QStringLiteral("Keys"),
        paneText("These three are Jump. The r⌘ r⌥ feature keys and the snippet picker are app-wide and keep "
                 "working with Jump off — they're listed in General."));
    keys->addLabeledRow(new RowLabel(QStringLiteral("Switch to an app"),
                                     QStringLiteral("the letter shown on its icon in the hint strip")),
                        new KeyChip(QStringLiteral("r⌘ letter")));
    keys->addLabeledRow(
        new RowLabel(QStringLiteral("Switch window inside the app you're in"),
                     QStringLiteral("by the first letter of the window's name — for a title like “index.ts — "
                                    "my-project” that's the project, not the file. Press again to walk windows "
                                    "sharing a letter.")),
        new KeyChip(QStringLiteral("r⌥ letter")));
    m_desktopRow = new RowLabel(QStringLiteral("Go to desktop 1–9"), QStringLiteral(" "));
    keys->addLabeledRow(m_desktopRow, new KeyChip(QStringLiteral("r⌘ digit")));
    m_sections << keys;

    auto* behavior = new FormSection(QStringLiteral("Behavior"));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Hide on second press"),
                     QStringLiteral("when a letter belongs to just one app, pressing it while you're already in "
                                    "that app hides it. Letters shared by several apps cycle instead.")),
        model.bind(BoolPath{&Settings::jumpHideOnRepeat, &Settings::setJumpHideOnRepeat}));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Cycle same letter"),
                     QStringLiteral("same-letter apps share the key and cycle on repeat-press (off: each app gets a "
                                    "unique letter)")),
        model.bind(BoolPath{&Settings::jumpCycleSameLetter, &Settings::setJumpCycleSameLetter}));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Leader key hints"),
                     paneText("hold r⌘ for app icons with keycaps; r⌥ for window initials")),
        model.bind(BoolPath{&Settings::notchLeaderHints, &Settings::setNotchLeaderHints}));
    m_hintCount = new ChoiceBox(QStringLiteral("Hints shown"));
    std::vector<std::pair<QString, int>> counts;
    for (const int count : Config::notchHintCountChoices)
        counts.emplace_back(QString::number(count), count);
    m_hintCount->setChoices(counts);
    connect(m_hintCount, &QComboBox::activated, this,
            [this, &settings](int index) { settings.setNotchMaxHintItems(m_hintCount->tagAt(index)); });
    behavior->addLabeledRow(
        new RowLabel(QStringLiteral("Hints shown"),
                     QStringLiteral("most-recently-used apps first; the row splits evenly across both sides of "
                                    "the notch")),
        m_hintCount);
    m_sections << behavior;

    auto* letters = new FormSection(QStringLiteral("Letters — click an app to pin a permanent one"));
    // The rows follow the running and pinned apps: they are rebuilt inside
    // this box when that list changes, and only then.
    m_letters = new QWidget;
    m_lettersLayout = new QVBoxLayout(m_letters);
    m_lettersLayout->setContentsMargins(0, 0, 0, 0);
    m_lettersLayout->setSpacing(4);
    letters->addRow(m_letters);
    m_sections << letters;

    auto* ignored = new FormSection(QStringLiteral("Ignore apps — no automatic letter"));
    m_ignored = new AppChipsRow(QString(), QString(), sorted(settings.jumpIgnored()), [&settings](const QString& id) {
        QSet<QString> ids = settings.jumpIgnored();
        if (!ids.remove(id))
            ids.insert(id);
        settings.setJumpIgnored(ids);
    });
    ignored->addRow(m_ignored);
    m_sections << ignored;

    placeForm(*this, form, m_sections);
}

void JumpPane::applyLetterAnswer(const QString& bundleID)
{
    if (!prompt)
        return;
    // The prompt runs its own loop, in which this pane may go away.
    Settings& settings = model().features.settings;
    const auto answer = prompt(AppDirectory::resolve(bundleID).name);
    if (!answer)
        return;
    settings.setJumpForced(*answer, bundleID);
}

void JumpPane::showMeTheHints()
{
    if (showHints)
        showHints(model().features.jump.hintItems(Leader::command), QString::fromUtf8(demoCaption), demoSeconds);
}

void JumpPane::showLetters(const std::vector<JumpBindingApp>& apps)
{
    QStringList shown;
    std::set<QString> ids;
    for (const JumpBindingApp& app : apps) {
        shown << app.bundleID << app.name;
        ids.insert(app.bundleID);
    }
    if (shown == m_lettersShown && m_addLetter)
        return;
    m_lettersShown = shown;
    // A row may be the one whose prompt is up: rows go later, not now.
    for (JumpBindingRow* row : std::as_const(m_letterRows)) {
        m_lettersLayout->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    m_letterRows.clear();
    if (m_addLetter) {
        m_lettersLayout->removeWidget(m_addLetter);
        m_addLetter->hide();
        m_addLetter->deleteLater();
    }
    for (const JumpBindingApp& app : apps) {
        auto* row = new JumpBindingRow(model(), app.bundleID, app.name, app.icon);
        m_lettersLayout->addWidget(row);
        m_letterRows << row;
    }
    QPointer<JumpPane> self(this);
    auto* add = new AddChipButton(ids, [self](const QString& id) {
        // The picker closes first; the letter is asked on a later turn.
        platform::platform().mainQueue().post([self, id] {
            if (self)
                self->applyLetterAnswer(id);
        });
    });
    m_lettersLayout->addWidget(add, 0, Qt::AlignLeft);
    m_addLetter = add;
}

void JumpPane::reload()
{
    PaneView::reload();
    const JumpPaneState now = state(model().features.settings);
    if (QLabel* sub = m_holdRow->subLabel())
        sub->setText(now.holdSubtitle);
    m_showMe->setVisible(now.showsDemo);
    m_turnOn->setVisible(!now.showsDemo);
    m_gate->setGranted(model().features.permission.isGranted());
    if (QLabel* sub = m_desktopRow->subLabel())
        sub->setText(now.desktopSubtitle);
    m_hintCount->select(now.selectedHintCount);
    m_hintCount->setEnabled(now.hintCountEnabled);
    showLetters(now.bindingApps);
    if (m_ignored->bundleIDs() != now.ignoredApps)
        m_ignored->setBundleIDs(now.ignoredApps);
}

} // namespace quillon
