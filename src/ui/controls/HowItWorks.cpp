#include "ui/controls/HowItWorks.h"

#include "platform/Platform.h"
#include "settings/SettingsKeys.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

// The standard store holds profile one and everything kept outside the
// profiles; this flag is the window's own, so no observer hears of it.
platform::DefaultsStore& rootStore()
{
    return platform::platform().userDefaults().standard();
}

} // namespace

HowItWorks::HowItWorks(SettingsPane pane, QWidget* content, QWidget* parent)
    : FormSection({}, {}, parent)
    , m_pane(pane)
    , m_content(content)
{
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(11);
    m_disclosure = new QToolButton;
    m_disclosure->setText(QStringLiteral("How it works"));
    m_disclosure->setAccessibleName(QStringLiteral("How it works"));
    m_disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_disclosure->setAutoRaise(true);
    m_disclosure->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 2px 0; }"));
    layout->addWidget(m_disclosure);
    if (m_content) {
        m_content->setContentsMargins(0, 2, 0, 0);
        layout->addWidget(m_content);
    }
    addRow(box);

    apply(storedExpanded(pane));
    connect(m_disclosure, &QToolButton::clicked, this, [this] { setExpanded(!m_expanded); });
}

void HowItWorks::apply(bool expanded)
{
    m_expanded = expanded;
    m_disclosure->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    if (m_content)
        m_content->setVisible(expanded);
}

void HowItWorks::setExpanded(bool expanded)
{
    apply(expanded);
    rootStore().set(SettingsKeys::helpExpanded(m_pane.rawValue()), expanded);
}

bool HowItWorks::storedExpanded(SettingsPane pane)
{
    const auto stored = rootStore().storedValue(SettingsKeys::helpExpanded(pane.rawValue()));
    if (!stored || stored->kind() != platform::PlistValue::Kind::Bool)
        return true;
    return stored->toBool();
}

} // namespace quillon
