#include "ui/FormSection.h"

#include "ui/ToggleSwitch.h"
#include "ui/controls/RowLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace quillon {

namespace {

QLabel* noteLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPixelSize(11);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
    if (text.isEmpty())
        label->hide();
    return label;
}

} // namespace

/// The rounded box; draws a hairline between each two visible rows.
class FormSection::Box final : public QWidget {
public:
    explicit Box(const FormSection& section)
        : m_section(section)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1));
        painter.setBrush(palette().color(QPalette::Base));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
        QColor hairline = palette().color(QPalette::Text);
        hairline.setAlphaF(0.1);
        painter.setPen(QPen(hairline, 1));
        bool first = true;
        for (QWidget* row : m_section.rows()) {
            if (!row->isVisibleTo(this))
                continue;
            if (!first)
                painter.drawLine(QPointF(12, row->y() + 0.5), QPointF(width() - 12, row->y() + 0.5));
            first = false;
        }
    }

private:
    const FormSection& m_section;
};

FormSection::FormSection(const QString& header, const QString& footer, QWidget* parent)
    : QWidget(parent)
{
    m_header = noteLabel(header);
    m_header->setContentsMargins(10, 0, 10, 0);
    m_footer = noteLabel(footer);
    m_footer->setContentsMargins(10, 0, 10, 0);
    m_box = new Box(*this);
    m_rowLayout = new QVBoxLayout(m_box);
    m_rowLayout->setContentsMargins(0, 2, 0, 2);
    m_rowLayout->setSpacing(0);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(5);
    layout->addWidget(m_header);
    layout->addWidget(m_box);
    layout->addWidget(m_footer);
    updateVisibility();
}

QWidget* FormSection::addRow(QWidget* widget)
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(widget);
    widget->installEventFilter(this);
    row->setProperty("content", QVariant::fromValue(static_cast<QObject*>(widget)));
    m_rows << row;
    m_rowLayout->addWidget(row);
    // A row whose only content was hidden is hidden too.
    if (widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->isHidden())
        row->hide();
    updateVisibility();
    return row;
}

QWidget* FormSection::addLabeledRow(QWidget* label, QWidget* content)
{
    auto* line = new QWidget;
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    layout->addWidget(label, 1);
    layout->addWidget(content, 0, Qt::AlignRight | Qt::AlignVCenter);
    return addRow(line);
}

QWidget* FormSection::addLabeledRow(const QString& label, QWidget* content)
{
    return addLabeledRow(new RowLabel(label), content);
}

ToggleSwitch* FormSection::addToggleRow(RowLabel* label, Binding<bool> binding)
{
    auto* toggle = new ToggleSwitch(label->title());
    toggle->bind(std::move(binding));
    addLabeledRow(label, toggle);
    return toggle;
}

void FormSection::setSectionHidden(bool hidden)
{
    m_hidden = hidden;
    updateVisibility();
}

bool FormSection::hasContent() const
{
    if (m_hidden)
        return false;
    for (QWidget* row : m_rows) {
        if (row->isVisibleTo(m_box))
            return true;
    }
    return false;
}

void FormSection::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ParentChange)
        updateVisibility();
    QWidget::changeEvent(event);
}

bool FormSection::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        for (QWidget* row : m_rows) {
            if (row->property("content").value<QObject*>() == watched)
                row->setVisible(event->type() == QEvent::ShowToParent);
        }
        updateVisibility();
    }
    return QWidget::eventFilter(watched, event);
}

void FormSection::updateVisibility()
{
    // Shown only inside a parent: a parentless widget told to show would
    // open a window of its own.
    if (!hasContent())
        hide();
    else if (parentWidget())
        show();
    m_box->update();
}

} // namespace quillon
