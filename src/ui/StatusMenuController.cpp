#include "ui/StatusMenuController.h"

#include "platform/Platform.h"
#include "ui/MenuBarIcon.h"
#include "ui/ProgressBarImage.h"
#include "ui/Prompts.h"

#include <QPixmap>
#include <QTimeZone>

namespace quillon {

using Entry = StatusMenuModel::Entry;
using Action = StatusMenuModel::Action;

StatusMenuController::StatusMenuController()
    : m_awakeMenu(std::make_unique<QMenu>())
    , m_self(std::make_shared<StatusMenuController*>(this))
{
    runDurationPrompt = [] { return AwakeDurationPrompt::run(); };
    QObject::connect(&m_menu, &QMenu::aboutToShow, [this] { rebuild(); });
    rebuild();
}

StatusMenuController::~StatusMenuController()
{
    // The menu's actions point into the submenu: they go first.
    m_menu.clear();
}

StatusMenuModel::Answers StatusMenuController::answers() const
{
    StatusMenuModel::Answers answers;
    if (walkthroughProgress)
        answers.walkthrough = walkthroughProgress();
    if (awakeSession)
        answers.session = awakeSession();
    answers.duration = awakeDuration ? awakeDuration() : 0;
    answers.allowsDisplaySleep = allowsDisplaySleep && allowsDisplaySleep();
    answers.canCheckForUpdates = bool(onCheckForUpdates);
    answers.now = QDateTime::currentDateTime();
    answers.locale = QLocale();
    answers.timeZone = QTimeZone::systemTimeZone();
    return answers;
}

void StatusMenuController::rebuild()
{
    const StatusMenuModel::Answers now = answers();
    m_menu.clear();
    m_awakeMenu->clear();
    fill(m_menu, StatusMenuModel::build(now));
}

void StatusMenuController::fill(QMenu& menu, const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries) {
        if (entry.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(entry.title);
        action->setEnabled(entry.enabled);
        if (entry.checked) {
            action->setCheckable(true);
            action->setChecked(*entry.checked);
        }
        if (!entry.shortcut.isEmpty())
            action->setShortcut(entry.shortcut);
        if (entry.progress) {
            const qreal scale = menu.devicePixelRatioF();
            QPixmap bar = QPixmap::fromImage(ProgressBarImage::make(
                *entry.progress, QSizeF(StatusMenuModel::progressWidth, StatusMenuModel::progressHeight),
                scale));
            bar.setDevicePixelRatio(scale);
            action->setIcon(QIcon(bar));
        }
        if (!entry.submenu.empty()) {
            fill(*m_awakeMenu, entry.submenu);
            m_awakeMenu->setTitle(entry.title);
            action->setMenu(m_awakeMenu.get());
            continue;
        }
        if (entry.action == Action::none)
            continue;
        QObject::connect(action, &QAction::triggered, &menu, [this, entry] { perform(entry); });
    }
}

void StatusMenuController::perform(const Entry& entry)
{
    const auto call = [](const std::function<void()>& fn) {
        if (fn)
            fn();
    };
    switch (entry.action) {
    case Action::none:
        break;
    case Action::resumeWalkthrough:
        call(onResumeWalkthrough);
        break;
    case Action::toggleAwake:
        call(onToggleAwake);
        break;
    case Action::openSettings:
        call(onOpenSettings);
        break;
    case Action::checkForUpdates:
        call(onCheckForUpdates);
        break;
    case Action::quit:
        platform::platform().appShell().terminate();
        break;
    case Action::setIndefinite:
        if (setAwakeDuration)
            setAwakeDuration(0);
        break;
    case Action::setDuration:
        if (setAwakeDuration)
            setAwakeDuration(entry.tag);
        break;
    case Action::pickCustomDuration:
        pickCustomDuration();
        break;
    case Action::toggleDisplaySleep:
        toggleDisplaySleep();
        break;
    }
}

void StatusMenuController::pickCustomDuration()
{
    // One queue turn later: the menu has closed before the prompt opens.
    std::weak_ptr<StatusMenuController*> weak = m_self;
    platform::platform().mainQueue().post([weak] {
        std::function<std::optional<int>()> prompt;
        if (const auto self = weak.lock())
            prompt = (*self)->runDurationPrompt;
        if (!prompt)
            return;
        // The prompt runs its own loop, where we may go: nothing of ours is
        // held across it, and we are looked up again after.
        const std::optional<int> minutes = prompt();
        const auto self = weak.lock();
        if (minutes && self && (*self)->setAwakeDuration)
            (*self)->setAwakeDuration(*minutes);
    });
}

void StatusMenuController::toggleDisplaySleep()
{
    if (!setAllowsDisplaySleep)
        return;
    setAllowsDisplaySleep(allowsDisplaySleep ? !allowsDisplaySleep() : true);
}

void StatusMenuController::statusItemClicked()
{
    if (statusItem)
        statusItem->popUpMenu();
}

void StatusMenuController::statusItemContextClicked()
{
    if (onToggleAwake)
        onToggleAwake();
}

void StatusMenuController::updateIcon(bool awakeActive)
{
    if (statusItem)
        statusItem->setIcon(MenuBarIcon::make(awakeActive));
}

} // namespace quillon
