#include "ui/controls/AppPickerSheet.h"

#include "platform/AppDirectory.h"
#include "platform/Platform.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "ui/controls/Glyph.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace quillon {

namespace {

constexpr int iconSide = 18;
constexpr int rowHeight = 26;
constexpr int rowPadding = 6;
constexpr int rowSpacing = 8;

} // namespace

/// Draws a row of the list: the icon (or its empty place, so names line
/// up), the name elided to fit, and "running" at the trailing edge.
class AppPickerRowDelegate final : public QStyledItemDelegate {
public:
    explicit AppPickerRowDelegate(AppPickerSheet& sheet)
        : QStyledItemDelegate(&sheet)
        , m_sheet(sheet)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {0, rowHeight}; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const auto row = size_t(index.row());
        if (row >= m_sheet.m_apps.size())
            return;
        const AppDirectory::InstalledApp& app = m_sheet.m_apps[row];
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const QColor primary = option.palette.color(QPalette::WindowText);
        if (option.state & (QStyle::State_MouseOver | QStyle::State_Selected)) {
            QColor wash = primary;
            wash.setAlphaF(option.state & QStyle::State_Selected ? 0.10 : 0.055);
            painter->setPen(Qt::NoPen);
            painter->setBrush(wash);
            painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), 5, 5);
        }
        QRect area = option.rect.adjusted(rowPadding, 0, -rowPadding, 0);
        const QRect iconRect(area.left(), area.center().y() - iconSide / 2 + 1, iconSide, iconSide);
        if (const auto icon = m_sheet.iconFor(app.bundleID))
            Symbols::paint(*painter, *icon, iconRect, primary);
        area.setLeft(iconRect.right() + 1 + rowSpacing);

        if (app.isRunning) {
            const QFont small = pixelFont(option.font, 10);
            const QString word = QStringLiteral("running");
            const int width = QFontMetrics(small).horizontalAdvance(word);
            painter->setFont(small);
            painter->setPen(DS::menuTextTertiary());
            painter->drawText(QRect(area.right() - width, area.top(), width, area.height()),
                              Qt::AlignVCenter | Qt::AlignRight, word);
            area.setRight(area.right() - width - rowSpacing);
        }
        painter->setFont(option.font);
        painter->setPen(primary);
        const QString name = QFontMetrics(option.font).elidedText(app.name, Qt::ElideRight, area.width());
        painter->drawText(area, Qt::AlignVCenter | Qt::AlignLeft, name);
        painter->restore();
    }

private:
    AppPickerSheet& m_sheet;
};

AppPickerSheet::AppPickerSheet(std::set<QString> excluding, std::function<void(const QString&)> pick,
                               QWidget* parent)
    : QDialog(parent)
    , m_excluding(std::move(excluding))
    , m_pick(std::move(pick))
{
    setWindowTitle(QStringLiteral("Add an App"));
    setWindowModality(Qt::WindowModal);
    setFixedSize(sheetSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(12);

    auto* title = new QLabel(QStringLiteral("Add an App"));
    title->setFont(pixelFont(title->font(), 15, QFont::DemiBold));
    layout->addWidget(title);

    m_search = new QLineEdit;
    m_search->setPlaceholderText(QStringLiteral("Search installed apps"));
    m_search->setClearButtonEnabled(true);
    layout->addWidget(m_search);

    m_list = new QListWidget;
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new AppPickerRowDelegate(*this));
    m_list->viewport()->setAutoFillBackground(false);
    m_list->viewport()->setCursor(Qt::PointingHandCursor);
    layout->addWidget(m_list, 1);

    m_empty = new QLabel;
    m_empty->setAlignment(Qt::AlignCenter);
    m_empty->setWordWrap(true);
    m_empty->setForegroundRole(QPalette::PlaceholderText);
    m_empty->hide();
    layout->addWidget(m_empty, 1);

    auto* buttons = new QHBoxLayout;
    m_browse = new QPushButton(QStringLiteral("Browse…"));
    m_browse->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    buttons->addWidget(m_browse);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &AppPickerSheet::applyQuery);
    // Return in the search field picks the first match.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        for (int row = 0; row < m_list->count(); ++row) {
            if (!m_list->isRowHidden(row)) {
                pickRow(row);
                return;
            }
        }
    });
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { pickRow(m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) { pickRow(m_list->row(item)); });
    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    // QDialog already rejects on Escape; the Cancel button does the same.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AppPickerSheet::showEvent(QShowEvent* event)
{
    // Every opening starts afresh: apps launched or installed since count.
    // A window restored by the window manager is the same opening.
    if (!event->spontaneous())
        load();
    QDialog::showEvent(event);
    m_search->setFocus();
}

void AppPickerSheet::load()
{
    m_apps = AppDirectory::pickable(m_excluding);
    m_icons.clear();
    m_list->clear();
    for (const auto& app : m_apps) {
        auto* item = new QListWidgetItem(app.name, m_list);
        item->setData(Qt::UserRole, app.bundleID);
        item->setToolTip(app.bundleID);
    }
    {
        const QSignalBlocker quiet(m_search);
        m_search->clear();
    }
    applyQuery();
}

void AppPickerSheet::applyQuery()
{
    // `pickable` already sorted the list and the filter's sort is stable,
    // so a narrower list keeps that order: hiding rows is enough.
    const auto matches = AppDirectory::filter(m_apps, m_search->text());
    QSet<QString> kept;
    for (const auto& app : matches)
        kept.insert(app.bundleID);
    m_list->setUpdatesEnabled(false);
    for (int row = 0; row < m_list->count(); ++row)
        m_list->setRowHidden(row, !kept.contains(m_apps[size_t(row)].bundleID));
    m_list->setUpdatesEnabled(true);

    if (matches.empty()) {
        m_empty->setText(m_apps.empty() ? QStringLiteral("No apps found — use Browse… to pick one.")
                                        : QStringLiteral("No matches."));
        m_list->hide();
        m_empty->show();
    } else {
        m_empty->hide();
        m_empty->clear();
        m_list->show();
    }
}

std::vector<AppDirectory::InstalledApp> AppPickerSheet::shown() const
{
    std::vector<AppDirectory::InstalledApp> apps;
    if (m_list->isHidden())
        return apps;
    for (int row = 0; row < m_list->count(); ++row) {
        if (!m_list->isRowHidden(row))
            apps.push_back(m_apps[size_t(row)]);
    }
    return apps;
}

QString AppPickerSheet::emptyText() const
{
    return m_empty->isHidden() ? QString() : m_empty->text();
}

std::optional<QIcon> AppPickerSheet::iconFor(const QString& bundleID)
{
    auto it = m_icons.find(bundleID);
    if (it == m_icons.end())
        it = m_icons.insert(bundleID, AppDirectory::resolve(bundleID).icon);
    return *it;
}

void AppPickerSheet::pickRow(int row)
{
    if (row < 0 || size_t(row) >= m_apps.size() || m_list->isRowHidden(row))
        return;
    const QString bundleID = m_apps[size_t(row)].bundleID;
    const auto pick = m_pick;
    accept();
    if (pick)
        pick(bundleID);
}

QFileDialog* AppPickerSheet::browse()
{
    auto* dialog = new QFileDialog(this, QStringLiteral("Choose an Application"),
                                   platform::platform().appDirectory().userApplicationsFolder());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setNameFilter(QStringLiteral("Applications (*.desktop)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setLabelText(QFileDialog::Accept, QStringLiteral("Choose"));
    QPointer<AppPickerSheet> sheet(this);
    connect(dialog, &QFileDialog::fileSelected, this, [sheet](const QString& path) {
        if (sheet && !path.isEmpty())
            sheet->choose(path);
    });
    dialog->open();
    return dialog;
}

bool AppPickerSheet::choose(const QString& path)
{
    const auto entry = platform::platform().appDirectory().entryAt(path);
    if (!entry || entry->appId.isEmpty())
        return false;
    const auto pick = m_excluding.count(entry->appId) ? nullptr : m_pick;
    accept();
    if (pick)
        pick(entry->appId);
    return true;
}

} // namespace quillon
