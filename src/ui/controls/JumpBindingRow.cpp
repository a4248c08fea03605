#include "ui/controls/JumpBindingRow.h"

#include "features/jump/JumpFeature.h"
#include "settings/Settings.h"
#include "support/DS.h"
#include "ui/Prompts.h"
#include "ui/SettingsModel.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/Keycap.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>

namespace quillon {

namespace {

/// A label limited to one line that elides what does not fit.
class ElidedLabel final : public QLabel {
public:
    explicit ElidedLabel(const QString& text)
        : m_full(text)
    {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setMinimumWidth(40);
        QLabel::setText(text);
    }
    QSize sizeHint() const override { return {fontMetrics().horizontalAdvance(m_full), QLabel::sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QLabel::setText(fontMetrics().elidedText(m_full, Qt::ElideRight, width()));
        QLabel::resizeEvent(event);
    }

private:
    QString m_full;
};

} // namespace

JumpBindingRow::JumpBindingRow(SettingsModel& model, const QString& bundleID, const QString& name,
                               const std::optional<QIcon>& icon, QWidget* parent)
    : RowButton(parent)
    , m_model(model)
    , m_bundleID(bundleID)
    , m_name(name)
{
    setToolTip(QStringLiteral("Click to pin a permanent letter for ") + name +
               QStringLiteral(" — a pinned letter also ") + QStringLiteral("launches the app when it's closed"));
    setAccessibleName(name);
    contentLayout()->setSpacing(9);
    if (icon)
        contentLayout()->addWidget(iconLabel(*icon, 20), 0, Qt::AlignVCenter);
    contentLayout()->addWidget(new ElidedLabel(name), 1, Qt::AlignVCenter);
    m_badge = new QWidget;
    m_badge->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* badgeLayout = new QHBoxLayout(m_badge);
    badgeLayout->setContentsMargins(0, 0, 0, 0);
    badgeLayout->setSpacing(5);
    contentLayout()->addWidget(m_badge, 0, Qt::AlignVCenter);
    reload();
    connect(this, &QAbstractButton::clicked, this, &JumpBindingRow::pin);
}

void JumpBindingRow::reload()
{
    qDeleteAll(m_badge->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    auto* layout = static_cast<QHBoxLayout*>(m_badge->layout());
    const auto binding = m_model.features.jump.binding(m_bundleID);
    if (binding && binding->isPinned) {
        layout->addWidget(new KeyChip(QString(binding->letter).toUpper()));
    } else if (binding) {
        layout->addWidget(new Keycap(QString(binding->letter).toUpper()));
        auto* automatic = new QLabel(QStringLiteral("auto"));
        automatic->setFont(pixelFont(automatic->font(), 10));
        QPalette palette = automatic->palette();
        palette.setColor(QPalette::WindowText, DS::menuTextTertiary());
        automatic->setPalette(palette);
        layout->addWidget(automatic);
    } else {
        layout->addWidget(new Keycap(QStringLiteral("set")));
    }
    for (QWidget* child : m_badge->findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QStringList JumpBindingRow::badge() const
{
    QStringList parts;
    for (const QWidget* child : m_badge->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const auto* chip = qobject_cast<const KeyChip*>(child))
            parts << chip->parts();
        else if (const auto* cap = qobject_cast<const Keycap*>(child))
            parts << cap->label();
        else if (const auto* label = qobject_cast<const QLabel*>(child))
            parts << label->text();
    }
    return parts;
}

void JumpBindingRow::pin()
{
    // The prompt runs its own loop, in which the pane may rebuild and take
    // this row away: everything the write needs is taken first.
    Settings& settings = m_model.features.settings;
    const QString bundleID = m_bundleID;
    const auto answer = JumpLetterPrompt::run(m_name);
    if (!answer)
        return;
    settings.setJumpForced(*answer, bundleID);
}

} // namespace quillon
