#include "ui/SegmentedControl.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace quillon {

SegmentedControl::SegmentedControl(const QStringList& titles, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < titles.size(); ++i) {
        auto* button = new QPushButton(titles[i]);
        button->setCheckable(true);
        button->setAccessibleName(titles[i]);
        // Clicking the selected segment keeps it selected.
        connect(button, &QPushButton::clicked, this, [this, i] {
            setSelectedIndex(i);
            emit chosen(i);
        });
        m_buttons << button;
        layout->addWidget(button);
    }
}

void SegmentedControl::setSelectedIndex(int index)
{
    m_selected = index >= 0 && index < m_buttons.size() ? index : -1;
    for (int i = 0; i < m_buttons.size(); ++i) {
        const QSignalBlocker quiet(m_buttons[i]);
        m_buttons[i]->setChecked(i == m_selected);
    }
}

} // namespace quillon
