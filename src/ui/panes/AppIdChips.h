#pragma once

#include "ui/Reloadable.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QMenu;
class QToolButton;

namespace quillon {

class FlowLayout;

/// A pane's list of applications as chips, each with its icon, its name and
/// a remove button, then an add button that offers the installed and running
/// applications not listed yet. An id no application answers to is shown by
/// itself, without an icon. Adding and removing both flip one id through
/// `toggle`; the chips follow at the next redraw.
class AppIdChips final : public QWidget, public Reloadable {
    Q_OBJECT

public:
    AppIdChips(std::function<QStringList()> ids, std::function<void(const QString&)> toggle,
               QWidget* parent = nullptr);

    void reload() override;

    /// The chips' names, in order.
    QStringList names() const;
    /// The remove button of the chip showing `id`; none without such a chip.
    QToolButton* removeButton(const QString& id) const;
    QToolButton* addButton() const { return m_add; }
    /// The menu the add button would open now.
    QMenu* makeAddMenu();

private:
    std::function<QStringList()> m_ids;
    std::function<void(const QString&)> m_toggle;
    QStringList m_shown;
    QList<QWidget*> m_chips;
    FlowLayout* m_layout = nullptr;
    QToolButton* m_add = nullptr;
};

} // namespace quillon
