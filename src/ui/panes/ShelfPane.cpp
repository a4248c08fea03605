#include "ui/panes/ShelfPane.h"

#include "permissions/AutomationPermission.h"
#include "platform/Platform.h"
#include "platform/ScreenshotPrefs.h"
#include "settings/Settings.h"
#include "shelf/ScreenshotWatcher.h"
#include "ui/FormSection.h"
#include "ui/PaneForm.h"
#include "ui/SettingsModel.h"
#include "ui/ToggleSwitch.h"
#include "ui/controls/FeatureHeader.h"
#include "ui/controls/Keycap.h"
#include "ui/controls/PermissionRows.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/SystemSettingsLink.h"
#include "ui/controls/WarningRow.h"
#include "ui/panes/PaneKit.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace quillon {

namespace {

const char* const skipOn = "the file, and the shelf entry, appears at once instead of ~5 s later";
const char* const skipOff = "turn on “Stash new screenshots automatically” first — this only matters for captures "
                            "the shelf is watching for";

} // namespace

QString ShelfPane::displayPath(const QString& path, const QString& home)
{
    const QString cleanHome = QDir::cleanPath(home);
    if (!cleanHome.isEmpty() && cleanHome != QStringLiteral("/")) {
        if (path == cleanHome)
            return QStringLiteral("~");
        if (path.startsWith(cleanHome + QLatin1Char('/')))
            return QLatin1Char('~') + path.mid(cleanHome.size());
    }
    return path;
}

ShelfPaneState ShelfPane::state(const Settings& settings, const platform::ScreenshotPrefs& prefs,
                                const ScreenshotFolderFacts& folder, platform::AutomationConsent consent)
{
    const bool stashing = settings.shelfAutoScreenshots();
    ShelfPaneState state;
    state.showsThumbnailRows = prefs.isKnown();
    state.skipThumbnailEnabled = stashing;
    state.skipThumbnailSubtitle = QString::fromUtf8(stashing ? skipOn : skipOff);
    // Off by the person's own hand: stored, false, and not held off by the shelf.
    state.showsThumbnailWarning = prefs.isKnown() && prefs.showThumbnail() == std::optional<bool>(false) &&
                                  !settings.root().boolForKey(SettingsKeys::shelfThumbnailHeldByUs);
    if (stashing && !folder.readable)
        state.folderWarning = QStringLiteral("Quillon can't read ") + displayPath(folder.path, folder.home) +
                              QStringLiteral(" yet, so captures saved there stay invisible to it — make that "
                                             "folder readable for your account.");
    // Where the desktop asks nothing, the grant counts as given.
    state.showsAutomation = consent == platform::AutomationConsent::denied;
    return state;
}

ShelfPaneState ShelfPane::currentState() const
{
    platform::Platform& platform = platform::platform();
    const Settings& settings = model().features.settings;
    ScreenshotFolderFacts folder;
    if (settings.shelfAutoScreenshots()) {
        folder.path = ScreenshotWatcher::saveDirectory();
        folder.home = platform.paths().home();
        folder.readable = ScreenshotWatcher::isFolderReadable();
    }
    return state(settings, platform.screenshotPrefs(), folder, platform.permissions().automationConsent());
}

ShelfPane::ShelfPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
{
    using BoolPath = Settings::KeyPath<bool>;
    auto* form = new PaneForm;
    form->addSection(new FeatureHeader(
        model, SettingsPane::shelf,
        helpRows({
            {"Getting files in",
             "start dragging anything and a landing strip grows at the top of the screen — drop onto it"},
            {"Getting them out",
             "click the tray at the top of the screen to open the shelf, then drag a file straight into any app"},
            {"Your originals stay put", "the shelf keeps its own copy, so clearing it never deletes anything of "
                                        "yours"},
        })));

    // No haptics on this desktop: "shelf.haptics" has no row, and keeps its
    // value for export and import.
    auto* behavior = new FormSection(QStringLiteral("Behavior"));
    behavior->addToggleRow(new RowLabel(QStringLiteral("Convert on drop"),
                                        QStringLiteral("offer HEIC/PNG → JPG, → PNG, and 2+ files → ZIP during drags")),
                           model.bind(BoolPath{&Settings::shelfConvert, &Settings::setShelfConvert}));
    behavior->addToggleRow(
        new RowLabel(QStringLiteral("Remove on drag out"),
                     QStringLiteral("dragging a file out takes it off the shelf instead of leaving a copy — only "
                                    "once something accepts the drop")),
        model.bind(BoolPath{&Settings::shelfRemoveOnDragOut, &Settings::setShelfRemoveOnDragOut}));
    m_sections << behavior;

    m_screenshots = new FormSection(
        QStringLiteral("Screenshots"),
        paneText("macOS holds a capture in memory while its floating thumbnail is up and only writes the file ~5 s "
                 "later. Skipping the thumbnail is the same switch as ⌘⇧5 → Options, and it also means there is "
                 "no thumbnail left to drag. Quillon only holds it off while the Shelf is on, and hands it "
                 "straight back when you switch the Shelf off."));
    m_screenshots->addToggleRow(
        new RowLabel(QStringLiteral("Stash new screenshots automatically"),
                     QStringLiteral("screenshots saved to your screenshot folder land on the shelf — originals "
                                    "stay where they were saved")),
        model.bind(BoolPath{&Settings::shelfAutoScreenshots, &Settings::setShelfAutoScreenshots}));
    m_skipLabel = new RowLabel(QStringLiteral("Skip the floating thumbnail"), QString::fromUtf8(skipOff));
    m_skipSwitch = new ToggleSwitch(m_skipLabel->title());
    m_skipSwitch->bind(model.bind(BoolPath{&Settings::shelfSkipThumbnail, &Settings::setShelfSkipThumbnail}));
    m_skipRow = new QWidget;
    auto* skipLayout = new QHBoxLayout(m_skipRow);
    skipLayout->setContentsMargins(0, 0, 0, 0);
    skipLayout->setSpacing(12);
    skipLayout->addWidget(m_skipLabel, 1);
    skipLayout->addWidget(m_skipSwitch, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_screenshots->addRow(m_skipRow);
    m_thumbnailWarning = new WarningRow(paneText(
        "macOS already has the floating thumbnail off — that was set outside Quillon (⌘⇧5 → Options → Show "
        "Floating Thumbnail), so this switch has nothing to hold and captures already appear at once. Turn the "
        "thumbnail back on there if you want it."));
    m_screenshots->addRow(m_thumbnailWarning);
    // The warning's text is fixed when it is made: a new path makes a new
    // one in this box.
    m_folderBox = new QWidget;
    auto* folderLayout = new QVBoxLayout(m_folderBox);
    folderLayout->setContentsMargins(0, 0, 0, 0);
    m_folderWarning = new WarningRow(QString());
    folderLayout->addWidget(m_folderWarning);
    m_screenshots->addRow(m_folderBox);
    m_sections << m_screenshots;

    m_sections << shortcutSection(
        SettingsPane::shelf,
        new RowLabel(QStringLiteral("Stash copied files"),
                     QStringLiteral("with the file manager in front, stashes the files you copied there onto the "
                                    "shelf; with none it just toggles the shelf open or closed. Duplicates pulse "
                                    "instead of re-adding.")));

    m_automation = new FormSection(QStringLiteral("Optional"));
    QPointer<SettingsModel> weakModel(&model);
    m_automation->addRow(new PermissionRow(
        paneText("Automation (Finder)"), false,
        paneText("grant this and r⌘ r⌥ S stashes whatever you have selected in Finder; without it the shortcut "
                 "still opens and closes the shelf"),
        [weakModel] {
            AutomationPermission::request([weakModel] {
                if (weakModel)
                    weakModel->refresh();
            });
        },
        [this] { SystemSettingsLink::open(platform::SettingsPage::automation, this); }));
    m_sections << m_automation;

    placeForm(*this, form, m_sections);
}

QString ShelfPane::folderWarningText() const
{
    return m_folderWarning->accessibleName();
}

void ShelfPane::reload()
{
    PaneView::reload();
    const ShelfPaneState now = currentState();
    m_skipRow->setVisible(now.showsThumbnailRows);
    m_skipSwitch->setEnabled(now.skipThumbnailEnabled);
    m_skipLabel->subLabel()->setText(now.skipThumbnailSubtitle);
    m_screenshots->footerLabel()->setVisible(now.showsThumbnailRows);
    m_thumbnailWarning->setVisible(now.showsThumbnailWarning);
    const QString folderText = now.folderWarning.value_or(QString());
    if (folderText != folderWarningText()) {
        auto* row = new WarningRow(folderText);
        delete m_folderBox->layout()->replaceWidget(m_folderWarning, row);
        delete m_folderWarning;
        m_folderWarning = row;
    }
    m_folderBox->setVisible(now.folderWarning.has_value());
    m_automation->setSectionHidden(!now.showsAutomation);
}

} // namespace quillon
