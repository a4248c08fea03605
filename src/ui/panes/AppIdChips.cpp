#include "ui/panes/AppIdChips.h"

#include "ui/AppDirectory.h"
#include "ui/controls/FlowLayout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <set>

namespace quillon {

AppIdChips::AppIdChips(std::function<QStringList()> ids, std::function<void(const QString&)> toggle,
                       QWidget* parent)
    : QWidget(parent)
    , m_ids(std::move(ids))
    , m_toggle(std::move(toggle))
{
    m_layout = new FlowLayout(6, this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_add = new QToolButton;
    m_add->setText(QStringLiteral("+ Add"));
    m_add->setAccessibleName(QStringLiteral("Add app"));
    m_add->setAutoRaise(true);
    connect(m_add, &QToolButton::clicked, this, [this] {
        QMenu* menu = makeAddMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_add->mapToGlobal(QPoint(0, m_add->height())));
    });
    m_layout->addWidget(m_add);
}

QMenu* AppIdChips::makeAddMenu()
{
    auto* menu = new QMenu(this);
    std::set<QString> listed;
    for (const QString& id : std::as_const(m_shown))
        listed.insert(id);
    const auto apps = AppDirectory::pickable(listed);
    if (apps.empty())
        menu->addAction(QStringLiteral("No other apps"))->setEnabled(false);
    for (const auto& app : apps) {
        const QString id = app.bundleID;
        menu->addAction(app.name.isEmpty() ? id : app.name, this, [this, id] { m_toggle(id); });
    }
    return menu;
}

void AppIdChips::reload()
{
    const QStringList ids = m_ids();
    if (ids == m_shown && m_chips.size() == ids.size())
        return;
    m_shown = ids;
    for (QWidget* chip : std::as_const(m_chips)) {
        m_layout->removeWidget(chip);
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    m_layout->removeWidget(m_add);
    for (const QString& id : ids) {
        const AppDirectory::Resolved app = AppDirectory::resolve(id);
        auto* chip = new QFrame;
        chip->setObjectName(QStringLiteral("appChip"));
        chip->setProperty("appId", id);
        chip->setFrameShape(QFrame::StyledPanel);
        chip->setAccessibleName(app.name);
        auto* row = new QHBoxLayout(chip);
        row->setContentsMargins(6, 2, 2, 2);
        row->setSpacing(4);
        if (app.icon) {
            auto* icon = new QLabel;
            icon->setObjectName(QStringLiteral("appIcon"));
            icon->setPixmap(app.icon->pixmap(16, 16));
            row->addWidget(icon);
        }
        auto* name = new QLabel(app.name);
        name->setObjectName(QStringLiteral("appName"));
        row->addWidget(name);
        auto* remove = new QToolButton;
        remove->setText(QStringLiteral("×"));
        remove->setAutoRaise(true);
        remove->setAccessibleName(QStringLiteral("Remove ") + app.name);
        connect(remove, &QToolButton::clicked, this, [this, id] { m_toggle(id); });
        row->addWidget(remove);
        m_layout->addWidget(chip);
        m_chips << chip;
    }
    m_layout->addWidget(m_add);
    updateGeometry();
}

QStringList AppIdChips::names() const
{
    QStringList result;
    for (QWidget* chip : m_chips)
        result << chip->accessibleName();
    return result;
}

QToolButton* AppIdChips::removeButton(const QString& id) const
{
    for (QWidget* chip : m_chips) {
        if (chip->property("appId").toString() == id)
            return chip->findChild<QToolButton*>();
    }
    return nullptr;
}

} // namespace quillon
