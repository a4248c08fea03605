#include "ui/panes/AwakePane.h"

#include "features/awake/AwakeFeature.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "support/Config.h"
#include "ui/AwakeMenuText.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/Prompts.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/TimeText.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/RowLabel.h"
#include "ui/panes/AppIdChips.h"
#include "ui/panes/PaneKit.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

namespace quillon {

namespace {

constexpr int timedMinutes = 60;

const char* const lengthHint = "switch Mode to Timed to set this";

QStringList sortedApps(const QSet<QString>& apps)
{
    QStringList list(apps.begin(), apps.end());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

std::vector<AwakeLengthChoice> AwakePane::lengthChoices(qint64 storedMinutes)
{
    std::vector<AwakeLengthChoice> choices;
    for (const int preset : Config::awakeDurationPresetsMinutes)
        choices.push_back({TimeText::minutes(preset), preset});
    const auto& presets = Config::awakeDurationPresetsMinutes;
    // A length of the person's own goes first, always in minutes.
    if (storedMinutes >= 1 && storedMinutes <= std::numeric_limits<int>::max() &&
        std::find(presets.begin(), presets.end(), storedMinutes) == presets.end())
        choices.insert(choices.begin(),
                       {QStringLiteral("%1 minutes").arg(storedMinutes), int(storedMinutes)});
    return choices;
}

AwakePaneState AwakePane::state(const Settings& settings, const std::optional<AwakeSessionFacts>& session,
                                const QDateTime& now, const QLocale& locale, const QTimeZone& zone)
{
    const qint64 stored = settings.defaults().integerForKey(SettingsKeys::awakeDurationMinutes);
    AwakePaneState state;
    if (session)
        state.running = AwakeMenuText::detail(session->endsAt, session->trigger, now, locale, zone);
    state.timed = stored != 0;
    state.lengthEnabled = stored != 0;
    state.lengthSubtitle = stored == 0 ? QString::fromUtf8(lengthHint) : QString();
    state.lengthChoices = lengthChoices(stored);
    if (stored == 0)
        state.selectedMinutes = timedMinutes;
    else if (stored > 0 && stored <= std::numeric_limits<int>::max())
        state.selectedMinutes = int(stored);
    state.triggerApps = sortedApps(settings.awakeTriggerApps());
    return state;
}

AwakePaneState AwakePane::currentState() const
{
    const AwakeFeature& awake = model().features.awake;
    std::optional<AwakeSessionFacts> session;
    if (awake.isActive())
        session = AwakeSessionFacts{awake.endsAt(),
                                    awake.startedByTrigger() ? awake.activeTriggerReason() : std::nullopt};
    return state(model().features.settings, session, platform::platform().clock().now(), QLocale(),
                 QTimeZone::systemTimeZone());
}

AwakePane::AwakePane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , prompt([] { return AwakeDurationPrompt::run(); })
{
    using BoolPath = Settings::KeyPath<bool>;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::awake,
        helpRows({
            {"A session", "the switch above starts one right now — the Mac stays awake until you end it or the "
                          "timer runs out"},
            {"Automatic sessions", "the triggers below start and end one on their own: plug in a display, "
                                   "mount a drive, or open a listed app"},
            {"Battery safety", "on battery below 10% a session ends by itself, unless you turn that off below"},
        })));

    auto* session = new FormSection(QStringLiteral("Session"));
    m_runningValue = new QLabel;
    m_runningValue->setForegroundRole(QPalette::PlaceholderText);
    m_runningValue->setAccessibleName(QStringLiteral("Running"));
    m_runningRow = session->addLabeledRow(QStringLiteral("Running"), m_runningValue);

    m_mode = new SegmentedControl({QStringLiteral("Indefinite"), QStringLiteral("Timed")});
    m_mode->setAccessibleName(QStringLiteral("Mode"));
    connect(m_mode, &SegmentedControl::chosen, this, [this](int index) {
        Settings& settings = this->model().features.settings;
        const bool timed = settings.defaults().integerForKey(SettingsKeys::awakeDurationMinutes) != 0;
        if ((index == 1) == timed)
            return;
        // "Timed" starts from the hour, not from the last timed length.
        settings.set(index == 1 ? timedMinutes : 0, SettingsKeys::awakeDurationMinutes);
    });
    session->addLabeledRow(
        new RowLabel(QStringLiteral("Mode"), QStringLiteral("changing it while a session runs re-aims the session")),
        m_mode);

    m_length = new ChoiceBox(QStringLiteral("Length"));
    connect(m_length, &QComboBox::activated, this, [this](int index) { chooseLength(m_length->tagAt(index)); });
    m_lengthLabel = new RowLabel(QStringLiteral("Length"), QStringLiteral(" "));
    session->addLabeledRow(m_lengthLabel, m_length);
    session->addToggleRow(new RowLabel(QStringLiteral("Allow display to sleep"),
                                       QStringLiteral("keep the system awake with the screen off")),
                          model.bind(BoolPath{&Settings::awakeAllowDisplaySleep, &Settings::setAwakeAllowDisplaySleep}));
    m_sections << session;

    auto* automatic = new FormSection(QStringLiteral("Automatic"));
    automatic->addToggleRow(new RowLabel(QStringLiteral("End below 10% battery"),
                                         QStringLiteral("when unplugged and low, end the session")),
                            model.bind(BoolPath{&Settings::awakeEndOnLowBattery, &Settings::setAwakeEndOnLowBattery}));
    automatic->addToggleRow(
        new RowLabel(QStringLiteral("While an external display is connected"),
                     QStringLiteral("a session runs whenever a non-built-in display is attached")),
        model.bind(BoolPath{&Settings::awakeOnExternalDisplay, &Settings::setAwakeOnExternalDisplay}));
    automatic->addToggleRow(new RowLabel(QStringLiteral("While an external drive is mounted"),
                                         QStringLiteral("ideal for long backups and transfers")),
                            model.bind(BoolPath{&Settings::awakeOnDriveMounted, &Settings::setAwakeOnDriveMounted}));
    Settings& settings = model.features.settings;
    auto* apps = new QWidget;
    auto* appsLayout = new QVBoxLayout(apps);
    appsLayout->setContentsMargins(0, 0, 0, 0);
    appsLayout->setSpacing(6);
    appsLayout->addWidget(new RowLabel(
        QStringLiteral("App triggers"),
        QStringLiteral("a session runs while any of these apps is open — add one before you launch it")));
    m_triggerApps = new AppIdChips([&settings] { return sortedApps(settings.awakeTriggerApps()); },
                                   [&settings](const QString& id) { settings.toggleTriggerApp(id); });
    appsLayout->addWidget(m_triggerApps);
    automatic->addRow(apps);
    m_sections << automatic;

    m_sections << shortcutSection(SettingsPane::awake, QStringLiteral("Toggle session"));
    placeForm(*this, form, m_sections);
}

void AwakePane::chooseLength(int tag)
{
    if (tag >= 0) {
        model().features.settings.set(tag, SettingsKeys::awakeDurationMinutes);
        return;
    }
    // "Custom…" is never the selection: the stored length stays shown while
    // the prompt is up.
    m_length->select(currentState().selectedMinutes);
    askForLength();
}

void AwakePane::askForLength()
{
    // The prompt is modal: it runs on a later turn, not inside the pop-up's
    // change signal.
    QPointer<AwakePane> self(this);
    platform::platform().mainQueue().post([self] {
        if (!self)
            return;
        // Anything but a whole number of at least 1 stores nothing.
        const int minutes = self->prompt ? self->prompt().value_or(0) : 0;
        if (!self)
            return;
        if (minutes >= 1)
            self->model().features.settings.set(minutes, SettingsKeys::awakeDurationMinutes);
        else
            self->model().refresh();
    });
}

QString AwakePane::runningText() const
{
    return m_runningValue->text();
}

void AwakePane::reload()
{
    PaneView::reload();
    const AwakePaneState now = currentState();
    m_runningRow->setVisible(now.running.has_value());
    m_runningValue->setText(now.running.value_or(QString()));
    m_mode->setSelectedIndex(now.timed ? 1 : 0);
    std::vector<std::pair<QString, int>> entries;
    for (const AwakeLengthChoice& choice : now.lengthChoices)
        entries.emplace_back(choice.title, choice.minutes);
    entries.emplace_back(QStringLiteral("Custom…"), customTag);
    m_length->setChoices(entries);
    m_length->select(now.selectedMinutes);
    m_length->setEnabled(now.lengthEnabled);
    m_lengthLabel->subLabel()->setText(now.lengthSubtitle);
}

} // namespace quillon
