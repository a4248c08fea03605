#include "ui/controls/WarningRow.h"

#include "ui/controls/Glyph.h"

#include <QHBoxLayout>
#include <QLabel>

namespace quillon {

WarningRow::WarningRow(const QString& text, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* glyph = glyphLabel(QStringLiteral("exclamationmark.triangle.fill"), 12, QColor(255, 204, 0));
    layout->addWidget(glyph, 0, Qt::AlignTop);
    m_label = new QLabel(text);
    m_label->setWordWrap(true);
    QFont font = m_label->font();
    font.setPixelSize(11);
    m_label->setFont(font);
    m_label->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(m_label, 1);
    setAccessibleName(text);
}

QString WarningRow::text() const
{
    return m_label->text();
}

void WarningRow::setText(const QString& text)
{
    m_label->setText(text);
    setAccessibleName(text);
}

} // namespace quillon
