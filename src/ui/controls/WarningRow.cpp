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
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(label, 1);
    setAccessibleName(text);
}

} // namespace quillon
