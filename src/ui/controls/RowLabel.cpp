#include "ui/controls/RowLabel.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quillon {

RowLabel::RowLabel(const QString& title, const QString& sub, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_title = new QLabel(title);
    m_title->setWordWrap(true);
    layout->addWidget(m_title);
    if (!sub.isEmpty()) {
        m_sub = new QLabel(sub);
        m_sub->setWordWrap(true);
        QFont font = m_sub->font();
        font.setPixelSize(11);
        m_sub->setFont(font);
        m_sub->setForegroundRole(QPalette::PlaceholderText);
        layout->addWidget(m_sub);
    }
}

QString RowLabel::title() const
{
    return m_title->text();
}

void RowLabel::setTitle(const QString& title)
{
    m_title->setText(title);
}

} // namespace quillon
