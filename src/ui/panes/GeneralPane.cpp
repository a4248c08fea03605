#include "ui/panes/GeneralPane.h"

#include "features/snippets/SnippetsFeature.h"
#include "permissions/AccessibilityPermission.h"
#include "permissions/NotificationPermission.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "shelf/ScreenshotWatcher.h"
#include "shelf/ShelfFeature.h"
#include "support/FileLog.h"
#include "support/KeyNames.h"
#include "support/Words.h"
#include "ui/FormSection.h"
#include "ui/LoginItem.h"
#include "ui/PaneForm.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsModel.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/LayoutItems.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/SystemSettingsLink.h"
#include "ui/panes/BackupDropArea.h"
#include "ui/panes/PaneKit.h"
#include "ui/panes/SettingsBackup.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillon {

namespace {

/// A text as a person on this desktop reads it: its words and its keys.
QString text(const char* words)
{
    return KeyNames::label(Words::adapt(QString::fromUtf8(words)));
}

QLabel* caption(const QString& content)
{
    auto* label = new QLabel(content);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QPushButton* button(const QString& title)
{
    auto* result = new QPushButton(title);
    result->setAccessibleName(title);
    return result;
}

QWidget* row(const QList<QWidget*>& widgets)
{
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch(1);
    return line;
}

const QColor okGreen(52, 199, 89);
const QColor failRed(255, 59, 48);

} // namespace

GeneralPane::GeneralPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    AppFeatures& features = model.features;
    QPointer<SettingsModel> weakModel(&model);
    m_backup = new SettingsBackup(
        SettingsBackup::Services{
            features.settings,
            features.snippets.store(),
            [&shelf = features.shelf] { return shelf.isActive(); },
            [&shelf = features.shelf](const QList<QUrl>& urls) { shelf.controller().add(urls); },
            platform::platform().paths().desktopDir(),
            platform::platform().paths().tempDir(),
            [weakModel] {
                if (weakModel)
                    weakModel->refresh();
            },
        },
        this);
    connect(m_backup, &SettingsBackup::statusChanged, this, &GeneralPane::showBackupStatus);

    auto* form = new PaneForm;
    auto* title = new QLabel(SettingsPane(SettingsPane::general).title());
    QFont titleFont = title->font();
    titleFont.setPixelSize(22);
    titleFont.setWeight(QFont::DemiBold);
    title->setFont(titleFont);
    form->addSection(title);

    buildKeyboardSection();
    buildProfilesSection();
    buildStartupSection();
    buildShortcutsSection();
    m_permissionsSection = section(new FormSection(
        QStringLiteral("Permissions needed"),
        QStringLiteral("Only what the features you’ve enabled require — the full list is in About.")));
    m_permissionRows = new QWidget;
    m_permissionLayout = new QVBoxLayout(m_permissionRows);
    m_permissionLayout->setContentsMargins(0, 0, 0, 0);
    m_permissionLayout->setSpacing(10);
    m_permissionsSection->addRow(m_permissionRows);
    buildBackupSection();
    buildDiagnosticsSection();
    placeForm(*this, form, m_sections);
}

FormSection* GeneralPane::section(FormSection* section)
{
    m_sections << section;
    return section;
}

void GeneralPane::buildKeyboardSection()
{
    m_keyboardSection = section(new FormSection(
        QStringLiteral("Keyboard shortcuts need permission"),
        text("Until you grant this, r⌘ r⌥ ~ won't open this window and no other shortcut below will fire — "
             "the "
             "keystroke is left to the app you're in. The tray icon opens Settings either way.")));
    AccessibilityPermission& permission = model().features.permission;
    SettingsModel& settingsModel = model();
    m_keyboardSection->addRow(new PermissionRow(
        QStringLiteral("Accessibility"), false,
        QStringLiteral(
            "Global shortcuts need an X11 session with the XTEST and XInput extensions. Nothing else "
            "here needs it."),
        [&permission, &settingsModel] {
            permission.requestAccess();
            settingsModel.refresh();
        },
        [this] { SystemSettingsLink::open(platform::SettingsPage::accessibility, this); }));
}

void GeneralPane::buildProfilesSection()
{
    auto* profiles = section(new FormSection(
        QStringLiteral("Profiles"),
        QStringLiteral("Everything switches together: which features are on, and every option inside them. "
                       "Backups below read and write the profile you're on, so you can fill one from a file "
                       "without disturbing the other.")));
    QStringList titles;
    for (const Settings::Profile profile : Settings::allProfiles)
        titles << QStringLiteral("Profile %1").arg(int(profile));
    m_profileControl = new SegmentedControl(titles);
    m_profileControl->setFixedWidth(190);
    m_profileControl->setAccessibleName(QStringLiteral("Settings profile"));
    connect(m_profileControl, &SegmentedControl::chosen, this, [this](int index) {
        if (index < 0 || index >= int(Settings::allProfiles.size()))
            return;
        model().features.settings.setProfile(Settings::allProfiles[std::size_t(index)]);
        // A refused switch notifies nobody: the redraw shows the profile in force.
        model().refresh();
    });
    profiles->addLabeledRow(new RowLabel(QStringLiteral("Settings profile"),
                                         text("two independent sets of settings — switch with r⌘ r⌥ 1 and 2. "
                                              "Profile 2 starts empty, like a fresh install.")),
                            m_profileControl);
    // The one way into the tour: its sidebar row stays hidden.
    m_tourButton = button(QStringLiteral("Take the Tour"));
    connect(m_tourButton, &QPushButton::clicked, this, [this] {
        if (model().onRestartWalkthrough)
            model().onRestartWalkthrough();
    });
    profiles->addLabeledRow(new RowLabel(QStringLiteral("Getting Started"),
                                         QStringLiteral("a short tour of every feature, with live demonstrations")),
                            m_tourButton);
}

void GeneralPane::buildStartupSection()
{
    auto* startup = section(new FormSection(QStringLiteral("Startup")));
    m_loginLabel = new RowLabel(QStringLiteral("Launch at Login"),
                                QStringLiteral("open Quillon automatically at login"));
    SettingsModel& settingsModel = model();
    m_loginSwitch = startup->addToggleRow(m_loginLabel, Binding<bool>([] { return LoginItem::isEnabled(); },
                                                                      [this, &settingsModel](bool) {
                                                                          LoginItem::toggle(this);
                                                                          settingsModel.refresh();
                                                                      }));
}

void GeneralPane::buildShortcutsSection()
{
    auto* shortcuts = section(new FormSection(
        QStringLiteral("Shortcuts that work everywhere"),
        text("The ⌘ and ⌥ to the RIGHT of the space bar. These belong to no single feature — turning Jump "
             "off, "
             "or anything else, never takes them away — but they do need Accessibility, since telling the "
             "right-hand modifiers from the left ones means reading the key event.")));
    const auto add = [shortcuts](RowLabel* label, const char* chord) {
        shortcuts->addLabeledRow(label, new KeyChip(QString::fromUtf8(chord)));
        return label;
    };
    add(new RowLabel(QStringLiteral("Switch a feature on or off"), keyList(FeatureChords::Kind::toggles)),
        "r⌘ r⌥ letter");
    add(new RowLabel(QStringLiteral("Run something"),
                     keyList(FeatureChords::Kind::tools) +
                         QStringLiteral(" — these need their feature on; with it off the key does nothing, "
                                        "shows no hint, and is left to the app you're in")),
        "r⌘ r⌥ letter");
    add(new RowLabel(QStringLiteral("Open this window"),
                     QStringLiteral("from anywhere, whatever else is switched off")),
        "r⌘ r⌥ ~");
    m_profileRowLabel =
        add(new RowLabel(QStringLiteral("Switch settings profile"), QStringLiteral(" ")), "r⌘ r⌥ 1 / 2");
    m_snippetRowLabel = add(new RowLabel(QStringLiteral("Snippet picker"), QStringLiteral(" ")), "r⌘ :");
}

void GeneralPane::buildBackupSection()
{
    m_backupSection = section(new FormSection(QStringLiteral("Backup"), QStringLiteral(" ")));
    m_saveButton = button(QStringLiteral("Save Settings to Desktop"));
    connect(m_saveButton, &QPushButton::clicked, m_backup, &SettingsBackup::exportToFile);
    auto* importButton = button(QStringLiteral("Import from File…"));
    connect(importButton, &QPushButton::clicked, this, [this] { importFromFile(); });
    m_backupSection->addRow(row({m_saveButton, importButton}));

    m_dropArea = new BackupDropArea;
    connect(m_dropArea, &BackupDropArea::dropped, m_backup, &SettingsBackup::handleDrop);
    m_backupSection->addRow(m_dropArea);

    m_status = new QWidget;
    auto* statusLayout = new QHBoxLayout(m_status);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(5);
    m_statusGlyph = new QLabel;
    m_statusText = caption({});
    statusLayout->addWidget(m_statusGlyph);
    statusLayout->addWidget(m_statusText);
    statusLayout->addStretch(1);
    m_status->hide();
    m_backupSection->addRow(m_status);
}

void GeneralPane::buildDiagnosticsSection()
{
    auto* diagnostics = section(new FormSection(QStringLiteral("Diagnostics"),
                                                text("Off by default. The log stays on your Mac — nothing is "
                                                     "ever uploaded — and it names files, apps and "
                                                     "windows you used, so read it before sending it on. "
                                                     "Crashes are always recorded here, whether or not "
                                                     "detailed logging is on.")));
    diagnostics->addToggleRow(
        new RowLabel(
            QStringLiteral("Detailed logging"),
            QStringLiteral("write what the app is doing to a local file — turn this on to reproduce a bug, "
                           "then send us the log")),
        model().bind(
            Settings::KeyPath<bool>{&Settings::diagnosticsLogging, &Settings::setDiagnosticsLogging}));
    auto* reveal = button(text("Reveal Log in Finder"));
    connect(reveal, &QPushButton::clicked, this, [] { FileLog::reveal(); });
    m_clearLogButton = button(QStringLiteral("Clear"));
    connect(m_clearLogButton, &QPushButton::clicked, this, [this] {
        FileLog::clear();
        model().refresh();
    });
    m_logSizeLabel = caption({});
    diagnostics->addRow(row({reveal, m_clearLogButton, m_logSizeLabel}));
}

QString GeneralPane::keyList(FeatureChords::Kind kind)
{
    QStringList parts;
    for (const FeatureChords::Key key : FeatureChords::allKeys) {
        if (FeatureChords::kind(key) == kind)
            parts << FeatureChords::letter(key) + QLatin1Char(' ') + FeatureChords::pane(key).title();
    }
    return parts.join(QStringLiteral(" · "));
}

void GeneralPane::showEvent(QShowEvent* event)
{
    PaneView::showEvent(event);
    if (!event->spontaneous())
        refreshPermissionStatus();
}

void GeneralPane::refreshPermissionStatus()
{
    model().features.permission.refresh();
    readNotificationStatus();
    model().refresh();
}

void GeneralPane::readNotificationStatus()
{
    QPointer<GeneralPane> self(this);
    NotificationPermission::status([self](platform::NotificationStatus status) {
        if (!self)
            return;
        self->m_notificationsStatus = status;
        self->model().refresh();
    });
}

PermissionFacts GeneralPane::permissionFacts() const
{
    platform::Permissions& permissions = platform::platform().permissions();
    const Settings& settings = model().features.settings;
    PermissionFacts facts;
    facts.accessibility = model().features.permission.isGranted();
    // Only the grants whose features are on are asked about: each is a
    // question to the desktop.
    if (settings.isClipboardEnabled() || settings.isSnippetsEnabled())
        facts.postEvents = permissions.postEventsAllowed();
    facts.screenCaptureAtLaunch = ScreenRecordingPermission::grantedAtLaunch;
    if (settings.isOCREnabled() && !facts.screenCaptureAtLaunch)
        facts.screenCapture = permissions.screenCaptureAllowed();
    if (settings.isShelfEnabled())
        facts.automation = permissions.automationConsent();
    facts.notifications = m_notificationsStatus;
    if (settings.shelfAutoScreenshots())
        facts.screenshotFolderReadable = ScreenshotWatcher::isFolderReadable();
    return facts;
}

PermissionActions GeneralPane::permissionActions() const
{
    auto& pane = const_cast<GeneralPane&>(*this);
    QPointer<GeneralPane> self(&pane);
    QPointer<SettingsModel> weakModel(&model());
    return permissionRowActions(
        pane, model(),
        [weakModel] {
            if (weakModel)
                weakModel->refresh();
        },
        [self] {
            if (self)
                self->readNotificationStatus();
        });
}

std::vector<PermissionNeed> GeneralPane::missingRequired() const
{
    return quillon::missingRequired(permissionFacts(), model().features.settings, permissionActions());
}

void GeneralPane::showPermissionNeeds()
{
    const std::vector<PermissionNeed> needs = missingRequired();
    QStringList shown;
    for (const PermissionNeed& need : needs)
        shown << need.title + QLatin1Char('\n') + need.sub + (need.request ? "\n+" : "\n-");
    m_permissionsSection->setSectionHidden(needs.empty());
    // Rows are rebuilt only when the list changed: a reload may come from a
    // click on one of them.
    if (shown == m_shownNeeds)
        return;
    m_shownNeeds = shown;
    discardItems(*m_permissionLayout);
    for (const PermissionNeed& need : needs)
        m_permissionLayout->addWidget(
            new PermissionRow(need.title, false, need.sub, need.request, need.open));
}

void GeneralPane::showBackupStatus()
{
    const auto status = m_backup->status();
    m_status->setVisible(status.has_value());
    if (!status)
        return;
    const QColor colour = status->ok ? okGreen : failRed;
    QLabel* glyph =
        glyphLabel(status->ok ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("xmark.circle.fill"),
                   11, colour);
    m_statusGlyph->setPixmap(glyph->pixmap());
    m_statusGlyph->setFixedSize(glyph->size());
    delete glyph;
    m_statusText->setText(status->text);
    QPalette palette = m_statusText->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_statusText->setPalette(palette);
    m_statusText->setForegroundRole(QPalette::WindowText);
}

QFileDialog* GeneralPane::importFromFile()
{
    auto* dialog = new QFileDialog(this, QStringLiteral("Import Settings"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setNameFilter(QStringLiteral("JSON (*.json)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Import"));
    QPointer<SettingsBackup> backup(m_backup);
    connect(dialog, &QFileDialog::fileSelected, this, [backup](const QString& path) {
        if (backup && !path.isEmpty())
            backup->importFile(path);
    });
    dialog->open();
    return dialog;
}

void GeneralPane::reload()
{
    PaneView::reload();
    const Settings& settings = model().features.settings;
    m_keyboardSection->setSectionHidden(model().features.permission.isGranted());

    const bool second = settings.root().integerForKey(SettingsKeys::settingsActiveProfile) == 2;
    m_profileControl->setSelectedIndex(second ? 1 : 0);

    const bool waiting =
        platform::platform().loginItem().status() == platform::LoginItem::Status::requiresApproval;
    m_loginLabel->subLabel()->setText(waiting ? text("waiting for approval in System Settings → Login Items")
                                              : QStringLiteral("open Quillon automatically at login"));

    m_profileRowLabel->subLabel()->setText(
        QStringLiteral("two independent sets of settings — currently on Profile %1").arg(second ? 2 : 1));
    m_snippetRowLabel->subLabel()->setText(
        settings.isSnippetsEnabled() ? text("type a snippet name and press ⏎")
                                     : text("turn Snippets on to use this — until then ⌘; is left alone"));

    showPermissionNeeds();

    const bool toShelf = m_backup->savesToShelf();
    m_backupSection->footerLabel()->setText(
        QStringLiteral("Saves every setting and your saved snippets as JSON — ") +
        (toShelf ? QStringLiteral("Quillon-Settings.json onto the shelf. ")
                 : QStringLiteral("Quillon-Settings.json to your Desktop. ")) +
        QStringLiteral("Import from that file, or drop one here."));
    const QString saveTitle =
        toShelf ? QStringLiteral("Save Settings to Shelf") : QStringLiteral("Save Settings to Desktop");
    m_saveButton->setText(saveTitle);
    m_saveButton->setAccessibleName(saveTitle);

    const auto size = FileLog::sizeDescription();
    m_clearLogButton->setEnabled(size.has_value());
    m_logSizeLabel->setText(size.value_or(QStringLiteral("no log yet")));
}

} // namespace quillon
