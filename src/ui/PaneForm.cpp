#include "ui/PaneForm.h"

#include "support/DS.h"

#include <QVBoxLayout>

namespace quillon {

PaneForm::PaneForm(QWidget* parent)
    : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, DS::settingsBackground());
    content->setPalette(palette);
    m_column = new QVBoxLayout(content);
    m_column->setContentsMargins(20, 18, 20, 20);
    m_column->setSpacing(18);
    m_column->addStretch(1);
    setWidget(content);
}

void PaneForm::append(QWidget* section)
{
    // Before the closing stretch.
    m_column->insertWidget(m_column->count() - 1, section);
}

} // namespace quillon
