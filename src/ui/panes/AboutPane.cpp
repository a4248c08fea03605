#include "ui/panes/AboutPane.h"

#include "permissions/AccessibilityPermission.h"
#include "permissions/NotificationPermission.h"
#include "permissions/ScreenRecordingPermission.h"
#include "platform/Platform.h"
#include "settings/Settings.h"
#include "shelf/ScreenshotWatcher.h"
#include "support/AboutInfo.h"
#include "support/AppIcon.h"
#include "support/DS.h"
#include "ui/SettingsModel.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/LayoutItems.h"
#include "ui/panes/PaneKit.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int listWidth = 480;

/// A hairline that starts 14 in from the leading edge.
QWidget* indentedDivider()
{
    auto* divider = new QWidget;
    divider->setObjectName(QStringLiteral("divider"));
    auto* layout = new QHBoxLayout(divider);
    layout->setContentsMargins(14, 0, 0, 0);
    layout->addWidget(hairline());
    return divider;
}

/// One line, centred in the column.
QLabel* centred(QLabel* label)
{
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

} // namespace

std::vector<AboutPermItem> AboutPane::aboutPermissions(const PermissionFacts& facts, bool stashing,
                                                       const PermissionActions& actions)
{
    using platform::SettingsPage;
    std::vector<AboutPermItem> items{
        {QStringLiteral("Accessibility"),
         QStringLiteral("window control & global keys — Sweep, Swipe, Snap, Jump, Clipboard, Snippets"),
         facts.accessibility, actions.requestAccessibility,
         permissionOpener(actions, SettingsPage::accessibility)},
        {QStringLiteral("Send Keystrokes"), paneText("replays ⌘V so Clipboard & Snippets can paste"),
         facts.postEvents, actions.requestPostEvents, permissionOpener(actions, SettingsPage::accessibility)},
        {QStringLiteral("Screen Recording"), QStringLiteral("OCR reads the region you select"),
         facts.screenCaptureAtLaunch || facts.screenCapture, actions.requestScreenCapture,
         permissionOpener(actions, SettingsPage::screenCapture)},
        {paneText("Automation (Finder)"), paneText("Shelf stashes the files you copied in the Finder"),
         facts.automation != platform::AutomationConsent::denied, actions.requestAutomation,
         permissionOpener(actions, SettingsPage::automation)},
        {QStringLiteral("Notifications"),
         QStringLiteral("alerts when a permission is lost or a background limit is hit"),
         facts.notifications == platform::NotificationStatus::granted,
         facts.notifications == platform::NotificationStatus::notDetermined ? actions.requestNotifications
                                                                            : std::function<void()>(),
         permissionOpener(actions, SettingsPage::notifications)},
    };
    if (stashing)
        items.push_back({QStringLiteral("Files & Folders"),
                         QStringLiteral("Shelf auto-stashes new screenshots from your capture folder"),
                         facts.screenshotFolderReadable,
                         {},
                         permissionOpener(actions, SettingsPage::filesAndFolders)});
    return items;
}

std::optional<AboutLink> AboutPane::link(const QString& homepage)
{
    const QUrl url(homepage.trimmed(), QUrl::StrictMode);
    if (homepage.trimmed().isEmpty() || !url.isValid() || url.host().isEmpty())
        return std::nullopt;
    return AboutLink{url.host(), url};
}

AboutPane::AboutPane(SettingsModel& model, QWidget* parent)
    : PaneView(model, parent)
    , openLink([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* content = new QWidget;
    QPalette background = content->palette();
    background.setColor(QPalette::Window, DS::settingsBackground());
    content->setPalette(background);
    content->setAutoFillBackground(true);
    scroll->viewport()->setPalette(background);
    scroll->viewport()->setAutoFillBackground(true);

    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 60, 24, 20);
    column->setSpacing(0);

    auto* icon = iconLabel(AppIcon::icon(), 96);
    icon->setAccessibleName(QStringLiteral("Quillon icon"));
    column->addWidget(icon, 0, Qt::AlignHCenter);
    column->addSpacing(12);
    column->addWidget(centred(paneLabel(QStringLiteral("Quillon"), 24, QFont::DemiBold)), 0,
                      Qt::AlignHCenter);
    column->addSpacing(4);
    auto* version = centred(paneLabel(AboutInfo::current(), 12, QFont::Normal, true));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(version, 0, Qt::AlignHCenter);
    column->addSpacing(18);
    column->addWidget(
        centred(
            paneLabel(QStringLiteral("Small utilities at the top of the screen — quiet, instant, invisible "
                                     "until needed."),
                      12.5, QFont::Normal, true)),
        0, Qt::AlignHCenter);
    column->addSpacing(14);
    if (const auto site = link(platform::platform().buildInfo().homepage)) {
        m_link = paneLabel(
            QStringLiteral("<a href=\"%1\">%2</a>")
                .arg(site->url.toString(QUrl::FullyEncoded).toHtmlEscaped(), site->host.toHtmlEscaped()),
            12.5);
        m_link->setTextFormat(Qt::RichText);
        m_link->setWordWrap(false);
        m_link->setAccessibleName(site->host);
        m_link->setCursor(Qt::PointingHandCursor);
        const QUrl url = site->url;
        connect(m_link, &QLabel::linkActivated, this, [this, url] {
            if (openLink)
                openLink(url);
        });
        column->addWidget(m_link, 0, Qt::AlignHCenter);
    }
    column->addSpacing(22);

    // The window is of a fixed width with room for the whole block: a fixed
    // width lets the wrapping rows take the height they need.
    auto* block = new QWidget;
    block->setFixedWidth(listWidth);
    auto* blockLayout = new QVBoxLayout(block);
    blockLayout->setContentsMargins(0, 0, 0, 0);
    blockLayout->setSpacing(6);
    blockLayout->addWidget(paneLabel(QStringLiteral("Permissions"), 13, QFont::DemiBold));
    blockLayout->addWidget(
        paneLabel(QStringLiteral("Granted as you enable the features that need them. Color "
                                 "Picker and the notch chips need none."),
                  11));
    blockLayout->addSpacing(4);
    auto* plate = new Plate(10, 0.04, 0.08);
    m_listLayout = new QVBoxLayout(plate);
    m_listLayout->setContentsMargins(0, 2, 0, 2);
    m_listLayout->setSpacing(0);
    blockLayout->addWidget(plate);
    // Centred between stretches rather than by alignment, so the column asks
    // the block's height for its own fixed width, where the reasons wrap.
    auto* centredBlock = new QHBoxLayout;
    centredBlock->addStretch(1);
    centredBlock->addWidget(block);
    centredBlock->addStretch(1);
    column->addLayout(centredBlock);
    column->addStretch(1);

    scroll->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

PermissionFacts AboutPane::permissionFacts() const
{
    platform::Permissions& permissions = platform::platform().permissions();
    PermissionFacts facts;
    facts.accessibility = model().features.permission.isGranted();
    facts.postEvents = permissions.postEventsAllowed();
    facts.screenCaptureAtLaunch = ScreenRecordingPermission::grantedAtLaunch;
    if (!facts.screenCaptureAtLaunch)
        facts.screenCapture = permissions.screenCaptureAllowed();
    facts.automation =
        m_automationGranted ? platform::AutomationConsent::granted : platform::AutomationConsent::denied;
    facts.notifications = m_notificationsStatus;
    if (model().features.settings.shelfAutoScreenshots())
        facts.screenshotFolderReadable = ScreenshotWatcher::isFolderReadable();
    return facts;
}

PermissionActions AboutPane::permissionActions() const
{
    auto& pane = const_cast<AboutPane&>(*this);
    QPointer<AboutPane> self(&pane);
    const auto refreshAsync = [self] {
        if (self)
            self->refreshAsyncPermissions();
    };
    return permissionRowActions(pane, model(), refreshAsync, refreshAsync);
}

std::vector<AboutPermItem> AboutPane::currentPermissions() const
{
    return aboutPermissions(permissionFacts(), model().features.settings.shelfAutoScreenshots(),
                            permissionActions());
}

void AboutPane::showEvent(QShowEvent* event)
{
    PaneView::showEvent(event);
    if (event->spontaneous())
        return;
    // A grant given in another program shows as soon as the pane does.
    model().features.permission.refresh();
    refreshAsyncPermissions();
}

void AboutPane::refreshAsyncPermissions()
{
    m_automationGranted =
        platform::platform().permissions().automationConsent() != platform::AutomationConsent::denied;
    QPointer<AboutPane> self(this);
    NotificationPermission::status([self](platform::NotificationStatus status) {
        if (!self)
            return;
        self->m_notificationsStatus = status;
        self->model().refresh();
    });
    model().refresh();
}

QList<AboutPermissionRow*> AboutPane::rows() const
{
    QList<AboutPermissionRow*> found;
    for (int i = 0; i < m_listLayout->count(); ++i) {
        if (auto* row = qobject_cast<AboutPermissionRow*>(m_listLayout->itemAt(i)->widget()))
            found << row;
    }
    return found;
}

QList<QWidget*> AboutPane::dividers() const
{
    QList<QWidget*> found;
    for (int i = 0; i < m_listLayout->count(); ++i) {
        QWidget* widget = m_listLayout->itemAt(i)->widget();
        if (widget && widget->objectName() == QStringLiteral("divider"))
            found << widget;
    }
    return found;
}

void AboutPane::reload()
{
    PaneView::reload();
    const std::vector<AboutPermItem> items = currentPermissions();
    QStringList shown;
    for (const AboutPermItem& item : items)
        shown << item.title + QLatin1Char('\n') + item.sub + (item.granted ? "\n1" : "\n0") +
                     (item.request ? "+" : "-");
    // Rows are made again only when the list changed: a reload may come from
    // a click on one of them.
    if (shown == m_shown)
        return;
    m_shown = shown;
    discardItems(*m_listLayout);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            m_listLayout->addWidget(indentedDivider());
        auto* row = new AboutPermissionRow(items[i]);
        m_listLayout->addWidget(row);
    }
}

} // namespace quillon
