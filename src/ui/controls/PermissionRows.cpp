#include "ui/controls/PermissionRows.h"

#include "platform/SystemSettings.h"
#include "support/Words.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/RowLabel.h"
#include "ui/controls/SystemSettingsLink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

namespace {

QString text(const char* words)
{
    return Words::adapt(QString::fromUtf8(words));
}

QPushButton* button(const QString& title, const std::function<void()>& action, bool link, int pixelSize = 0)
{
    auto* result = new QPushButton(title);
    result->setAccessibleName(title);
    result->setCursor(Qt::PointingHandCursor);
    if (link) {
        result->setFlat(true);
        result->setForegroundRole(QPalette::Link);
        QPalette palette = result->palette();
        palette.setColor(QPalette::ButtonText, palette.color(QPalette::Link));
        result->setPalette(palette);
    }
    if (pixelSize > 0) {
        QFont font = result->font();
        font.setPixelSize(pixelSize);
        result->setFont(font);
    }
    QObject::connect(result, &QPushButton::clicked, result, [action] {
        if (action)
            action();
    });
    return result;
}

QStringList textsIn(const QWidget* widget)
{
    QStringList texts;
    for (const QObject* child : widget->findChildren<QObject*>(Qt::FindDirectChildrenOnly)) {
        if (const auto* pushButton = qobject_cast<const QPushButton*>(child))
            texts << pushButton->text();
        else if (const auto* label = qobject_cast<const QLabel*>(child); label && !label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

QHBoxLayout* row(QWidget* owner, int spacing)
{
    auto* layout = new QHBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

} // namespace

PermissionRow::PermissionRow(const QString& title, bool granted, const QString& sub,
                             std::function<void()> request, std::function<void()> open, QWidget* parent)
    : QWidget(parent)
    , m_granted(granted)
    , m_request(std::move(request))
    , m_open(std::move(open))
{
    auto* layout = row(this, 12);
    layout->addWidget(new RowLabel(title, sub), 1);
    rebuild();
}

void PermissionRow::setGranted(bool granted)
{
    if (granted == m_granted)
        return;
    m_granted = granted;
    rebuild();
}

void PermissionRow::rebuild()
{
    delete m_right;
    m_right = new QWidget;
    auto* layout = row(m_right, 10);
    if (m_granted) {
        auto* granted = new QLabel(text("Granted"));
        granted->setForegroundRole(QPalette::PlaceholderText);
        layout->addWidget(granted);
    } else if (m_request) {
        layout->addWidget(button(text("Request Access"), m_request, false));
        layout->addWidget(button(text("Open System Settings"), m_open, true, 11));
    } else {
        layout->addWidget(button(text("Open System Settings"), m_open, false));
    }
    static_cast<QHBoxLayout*>(this->layout())->addWidget(m_right, 0, Qt::AlignRight | Qt::AlignVCenter);
}

QStringList PermissionRow::content() const
{
    return textsIn(m_right);
}

PermissionGate::PermissionGate(const QString& title, const QString& sub, bool granted,
                               std::function<void()> request, QWidget* parent)
    : FormSection(text("Needed to work"), {}, parent)
{
    m_row = new PermissionRow(title, granted, sub, std::move(request), [this] {
        SystemSettingsLink::open(platform::SettingsPage::accessibility, window());
    });
    addRow(m_row);
    setSectionHidden(granted);
}

void PermissionGate::setGranted(bool granted)
{
    m_row->setGranted(granted);
    setSectionHidden(granted);
}

AboutPermissionRow::AboutPermissionRow(const AboutPermItem& item, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = row(this, 12);
    layout->setContentsMargins(14, 10, 14, 10);

    auto* labels = new QVBoxLayout;
    labels->setSpacing(2);
    auto* title = new QLabel(item.title);
    QFont titleFont = title->font();
    titleFont.setPixelSize(13);
    title->setFont(titleFont);
    labels->addWidget(title);
    auto* sub = new QLabel(item.sub);
    sub->setWordWrap(true);
    QFont subFont = sub->font();
    subFont.setPixelSize(11);
    sub->setFont(subFont);
    sub->setForegroundRole(QPalette::PlaceholderText);
    labels->addWidget(sub);
    // Each side is aligned on its own: aligning the whole row would hold it to
    // the height of one line of its wrapping reason.
    layout->addLayout(labels, 1);

    auto* right = new QWidget;
    right->setObjectName(QStringLiteral("content"));
    auto* rightLayout = row(right, 8);
    if (item.granted) {
        const QColor green(52, 199, 89);
        rightLayout->setSpacing(4);
        rightLayout->addWidget(glyphLabel(QStringLiteral("checkmark.circle.fill"), 11, green));
        auto* granted = new QLabel(text("Granted"));
        QFont font = granted->font();
        font.setPixelSize(11);
        granted->setFont(font);
        QPalette palette = granted->palette();
        palette.setColor(QPalette::WindowText, green);
        granted->setPalette(palette);
        rightLayout->addWidget(granted);
    } else if (item.request) {
        rightLayout->addWidget(button(text("Open"), item.open, true, 11));
        rightLayout->addWidget(button(text("Request"), item.request, false, 11));
    } else {
        rightLayout->addWidget(button(text("Open"), item.open, false, 11));
    }
    layout->addWidget(right, 0, Qt::AlignTop);
}

QStringList AboutPermissionRow::content() const
{
    return textsIn(findChild<QWidget*>(QStringLiteral("content")));
}

} // namespace quillon
