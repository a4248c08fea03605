#include "ui/controls/AppChips.h"

#include "support/DS.h"
#include "support/Symbols.h"
#include "ui/AppDirectory.h"
#include "ui/controls/AppPickerSheet.h"
#include "ui/controls/FlowLayout.h"
#include "ui/controls/Glyph.h"
#include "ui/controls/LayoutItems.h"
#include "ui/controls/RowLabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSet>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int chipRadius = 7;
constexpr int chipIcon = 16;
constexpr int chipSpacing = 6;
constexpr int chipPadding = 6;
constexpr int markSize = 8;

QColor primaryAt(const QWidget& widget, double alpha)
{
    QColor color = widget.palette().color(QPalette::WindowText);
    color.setAlphaF(alpha);
    return color;
}

/// The bold "xmark" and "plus" of the chips: the glyph drawn twice, a
/// hair apart, reads as the heavier weight at 8 pixels.
void paintMark(QPainter& painter, const QString& symbol, const QRectF& target, const QColor& color)
{
    const auto icon = Symbols::image(symbol);
    if (!icon)
        return;
    Symbols::paint(painter, *icon, target, color);
    Symbols::paint(painter, *icon, target.translated(0.35, 0), color);
}

QLabel* nameLabel(const QString& name)
{
    auto* label = new QLabel;
    label->setFont(pixelFont(label->font(), 12));
    label->setText(QFontMetrics(label->font()).elidedText(name, Qt::ElideRight, AppChip::maxNameWidth));
    if (label->text() != name)
        label->setToolTip(name);
    return label;
}

/// The chip's small cross.
class ChipMarkButton final : public QAbstractButton {
public:
    ChipMarkButton()
    {
        setFixedSize(markSize + 6, markSize + 6);
        setCursor(Qt::PointingHandCursor);
        setAccessibleName(QStringLiteral("Remove"));
        setToolTip(QStringLiteral("Remove"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF target(QPointF((width() - markSize) / 2.0, (height() - markSize) / 2.0),
                            QSizeF(markSize, markSize));
        paintMark(painter, QStringLiteral("xmark"), target,
                  isDown() ? DS::menuTextSecondary() : DS::menuTextTertiary());
    }
};

} // namespace

AppChip::AppChip(const QString& bundleID, std::function<void()> remove, QWidget* parent)
    : QWidget(parent)
    , m_bundleID(bundleID)
{
    const AppDirectory::Resolved resolved = AppDirectory::resolve(bundleID);
    m_name = resolved.name;
    m_hasIcon = resolved.icon.has_value();
    setFixedHeight(chipHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(chipPadding, 0, chipPadding, 0);
    layout->setSpacing(chipSpacing);
    if (resolved.icon)
        layout->addWidget(iconLabel(*resolved.icon, chipIcon), 0, Qt::AlignVCenter);
    layout->addWidget(nameLabel(m_name), 0, Qt::AlignVCenter);
    m_remove = new ChipMarkButton;
    layout->addWidget(m_remove, 0, Qt::AlignVCenter);
    m_remove->setAccessibleName(QStringLiteral("Remove ") + m_name);
    connect(m_remove, &QAbstractButton::clicked, this, [remove = std::move(remove)] {
        if (remove)
            remove();
    });
    setAccessibleName(m_name);
}

void AppChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(primaryAt(*this, 0.06));
    painter.drawRoundedRect(QRectF(rect()), chipRadius, chipRadius);
}

SuggestionChip::SuggestionChip(const QString& bundleID, std::function<void()> add, QWidget* parent)
    : QAbstractButton(parent)
    , m_bundleID(bundleID)
{
    const AppDirectory::Resolved resolved = AppDirectory::resolve(bundleID);
    m_name = resolved.name;
    m_hasIcon = resolved.icon.has_value();
    setFixedHeight(AppChip::chipHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(chipPadding + markSize + chipSpacing, 0, chipPadding, 0);
    layout->setSpacing(chipSpacing);
    if (resolved.icon)
        layout->addWidget(iconLabel(*resolved.icon, chipIcon), 0, Qt::AlignVCenter);
    layout->addWidget(nameLabel(m_name), 0, Qt::AlignVCenter);
    for (QWidget* child : findChildren<QWidget*>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(QStringLiteral("Add ") + m_name);
    connect(this, &QAbstractButton::clicked, this, [add = std::move(add)] {
        if (add)
            add();
    });
}

QSize SuggestionChip::sizeHint() const
{
    return {layout()->sizeHint().width(), AppChip::chipHeight};
}

void SuggestionChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // Stroked inside its edge: the 1-pixel pen runs half a pixel in.
    painter.setPen(QPen(primaryAt(*this, isDown() ? 0.28 : 0.14), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), chipRadius - 0.5, chipRadius - 0.5);
    const QRectF mark(chipPadding, (height() - markSize) / 2.0, markSize, markSize);
    paintMark(painter, QStringLiteral("plus"), mark, DS::menuTextTertiary());
}

AddChipButton::AddChipButton(std::set<QString> excluding, std::function<void(const QString&)> add,
                             QWidget* parent)
    : QAbstractButton(parent)
    , m_excluding(std::move(excluding))
    , m_add(std::move(add))
{
    setText(QStringLiteral("+ Add"));
    setFont(pixelFont(font(), 12, QFont::Medium));
    setFixedHeight(AppChip::chipHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("Add an App"));
    connect(this, &QAbstractButton::clicked, this, &AddChipButton::openSheet);
}

QSize AddChipButton::sizeHint() const
{
    return {QFontMetrics(font()).horizontalAdvance(text()) + 2 * 9, AppChip::chipHeight};
}

void AddChipButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isDown() ? DS::accent().darker(115) : DS::accent());
    painter.drawRoundedRect(QRectF(rect()), chipRadius, chipRadius);
    painter.setPen(Qt::white);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

void AddChipButton::openSheet()
{
    if (m_sheet && m_sheet->isVisible()) {
        m_sheet->raise();
        m_sheet->activateWindow();
        return;
    }
    // The sheet keeps its own copy of `add`: a pane that rebuilds its rows
    // while the sheet is open must not leave it calling into a deleted chip.
    auto* sheet = new AppPickerSheet(m_excluding, m_add, window());
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_sheet = sheet;
    sheet->open();
}

AppChipsRow::AppChipsRow(const QString& title, const QString& sub, const QStringList& bundleIDs,
                         std::function<void(const QString&)> change, QWidget* parent)
    : QWidget(parent)
    , m_change(std::move(change))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(8);
    if (!title.isEmpty())
        layout->addWidget(new RowLabel(title, sub));
    m_flow = new QWidget;
    m_layout = new FlowLayout(7, m_flow);
    layout->addWidget(m_flow);
    setBundleIDs(bundleIDs);
}

void AppChipsRow::setBundleIDs(const QStringList& bundleIDs)
{
    QStringList unique;
    QSet<QString> seen;
    for (const QString& id : bundleIDs) {
        if (!id.isEmpty() && !seen.contains(id)) {
            seen.insert(id);
            unique << id;
        }
    }
    if (unique == m_bundleIDs && m_add)
        return;
    m_bundleIDs = unique;

    // A chip's own click may have led here: let it finish before it goes.
    discardItems(*m_layout);
    const auto change = m_change;
    for (const QString& id : m_bundleIDs) {
        m_layout->addWidget(new AppChip(id, [change, id] {
            if (change)
                change(id);
        }));
    }
    m_add = new AddChipButton(std::set<QString>(m_bundleIDs.begin(), m_bundleIDs.end()), [change](const QString& id) {
        if (change)
            change(id);
    });
    m_layout->addWidget(m_add);
    m_flow->updateGeometry();
}

QList<AppChip*> AppChipsRow::chips() const
{
    QList<AppChip*> chips;
    for (int i = 0; i < m_layout->count(); ++i) {
        if (auto* chip = qobject_cast<AppChip*>(m_layout->itemAt(i)->widget()))
            chips << chip;
    }
    return chips;
}

} // namespace quillon
