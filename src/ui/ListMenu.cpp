#include "ui/ListMenu.h"

#include "platform/Displays.h"
#include "platform/OverlayWindows.h"
#include "platform/Platform.h"
#include "platform/Pointer.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "ui/ListMenuLayout.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

namespace quillon {

namespace {

constexpr int menuLevel = 101;
constexpr double cornerRadius = 13;

// A font of the desktop at a size in device-independent pixels. Pixel sizes
// are whole, so half pixels go through the point size.
QFont menuFont(bool mono, double pixels, QFont::Weight weight = QFont::Normal)
{
    QFont font = QFontDatabase::systemFont(mono ? QFontDatabase::FixedFont : QFontDatabase::GeneralFont);
    if (mono)
        font.setStyleHint(QFont::Monospace);
    if (pixels == std::floor(pixels)) {
        font.setPixelSize(int(pixels));
    } else {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
        font.setPointSizeF(pixels * 72.0 / dpi);
    }
    font.setWeight(weight);
    return font;
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

void drawText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
              const QColor& color, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    painter.setFont(font);
    painter.setPen(color);
    const QString elided = QFontMetricsF(font).elidedText(text, Qt::ElideRight, rect.width());
    painter.drawText(rect, int(align), elided);
}

platform::OverlayWindows& overlays()
{
    return platform::platform().overlayWindows();
}

} // namespace

/// One row: slot digit, title, detail and glyph over an optional highlight.
class ListMenuRow final : public QWidget {
public:
    ListMenuRow(int index, ListMenu::Item item, QWidget* parent)
        : QWidget(parent)
        , m_index(index)
        , m_item(std::move(item))
    {
        setGeometry(ListMenuLayout::rowFrame(index).toRect());
        setAttribute(Qt::WA_Hover, false);
    }

    std::function<void(int)> onClick;
    std::function<void(int)> onHover;

    bool highlighted() const { return m_highlighted; }
    void setHighlighted(bool value)
    {
        if (value == m_highlighted)
            return;
        m_highlighted = value;
        QWidget::update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (m_highlighted) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(DS::accent());
            painter.drawRoundedRect(QRectF(rect()), 8, 8);
        }
        const QColor white(Qt::white);
        drawText(painter, ListMenuLayout::digitFrame(), m_item.slot.value_or(QString()),
                 menuFont(true, 11, m_highlighted ? QFont::DemiBold : QFont::Normal),
                 m_highlighted ? white : DS::menuTextTertiary(), Qt::AlignCenter);

        const QFont titleFont = m_item.mono ? menuFont(true, 12) : menuFont(false, 12.5);
        const QString detail = m_item.detail.value_or(QString());
        const auto text = ListMenuLayout::rowText(QFontMetricsF(titleFont).horizontalAdvance(m_item.title),
                                                  !detail.isEmpty());
        drawText(painter, text.title, m_item.title, titleFont, m_highlighted ? white : DS::menuText());
        if (!detail.isEmpty())
            drawText(painter, text.detail, detail, menuFont(false, 11.5),
                     m_highlighted ? withAlpha(white, 0.75) : DS::menuTextSecondary());
        if (m_item.symbol) {
            if (const std::optional<QIcon> icon = Symbols::image(*m_item.symbol)) {
                const QRectF glyph = ListMenuLayout::glyphFrame();
                const QRectF at(glyph.center() - QPointF(7, 7), QSizeF(14, 14));
                Symbols::paint(painter, *icon, at,
                               m_highlighted ? withAlpha(white, 0.8) : DS::menuTextTertiary());
            }
        }
    }

    void enterEvent(QEnterEvent*) override
    {
        if (onHover)
            onHover(m_index);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        if (onClick)
            onClick(m_index);
    }

private:
    int m_index;
    ListMenu::Item m_item;
    bool m_highlighted = false;
};

/// The panel: the rounded menu surface with header, scrolling rows, the
/// empty text and the footer hints.
class ListMenuPanel final : public QWidget {
public:
    ListMenuPanel(ListMenu& owner, QStringList footer, int visibleRows, QString emptyText)
        : m_owner(owner)
        , m_footer(std::move(footer))
        , m_visibleRows(visibleRows)
        , m_emptyText(std::move(emptyText))
    {
        m_scroll = new QScrollArea(this);
        m_scroll->setFrameShape(QFrame::NoFrame);
        m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_scroll->setWidgetResizable(false);
        m_scroll->setAutoFillBackground(false);
        m_scroll->viewport()->setAutoFillBackground(false);
        m_scroll->setFocusPolicy(Qt::NoFocus);
        m_lastMouseLocation = platform::platform().pointer().location();
    }

    void rebuild(const std::vector<ListMenu::Item>& items, const ListMenu::Header& header)
    {
        m_header = header;
        m_rows.clear();
        const int count = int(items.size());
        m_itemCount = count;
        setFixedSize(ListMenuLayout::panelSize(m_visibleRows, count).toSize());
        m_scroll->setGeometry(ListMenuLayout::rowsFrame(m_visibleRows, count).toRect());
        auto* container = new QWidget;
        container->setAutoFillBackground(false);
        container->resize(int(ListMenuLayout::rowWidth),
                          int(ListMenuLayout::containerHeight(m_visibleRows, count)));
        for (int i = 0; i < count; ++i) {
            auto* row = new ListMenuRow(i, items[std::size_t(i)], container);
            row->onClick = [this](int index) {
                if (m_owner.onPick)
                    m_owner.onPick(index);
            };
            row->onHover = [this](int index) { rowEntered(index); };
            m_rows.push_back(row);
        }
        m_scroll->setWidget(container); // deletes the old container and rows
        applyShape();
        QWidget::update();
    }

    void highlight(int index)
    {
        for (ListMenuRow* row : m_rows)
            row->setHighlighted(row == rowAt(index));
        if (!rowAt(index))
            return;
        QScrollBar* bar = m_scroll->verticalScrollBar();
        const double viewHeight = ListMenuLayout::visibleHeight(m_visibleRows, m_itemCount);
        bar->setValue(int(std::lround(ListMenuLayout::scrollToShow(index, bar->value(), viewHeight))));
    }

    std::optional<int> highlightedIndex() const
    {
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            if (m_rows[i]->highlighted())
                return int(i);
        return std::nullopt;
    }
    double scrollOffset() const { return m_scroll->verticalScrollBar()->value(); }
    std::optional<QString> shownEmptyText() const
    {
        return m_rows.empty() ? std::optional(m_emptyText) : std::nullopt;
    }
    QString headerText() const
    {
        if (const auto* caption = std::get_if<ListMenu::Caption>(&m_header))
            return caption->text.toUpper();
        const auto& search = std::get<ListMenu::Search>(m_header);
        return search.query.isEmpty() ? search.placeholder
                                      : QStringLiteral(":") + search.query + QChar(0x258C);
    }

    void setEmptyText(const QString& text)
    {
        m_emptyText = text;
        if (m_rows.empty())
            QWidget::update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF outline = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(DS::menuHairline(), 1));
        painter.setBrush(palette().color(QPalette::Window));
        painter.drawRoundedRect(outline, cornerRadius, cornerRadius);

        paintHeader(painter);
        if (m_rows.empty()) {
            const QFont font = menuFont(false, 12.5);
            const double height = QFontMetricsF(font).height();
            const QRectF rows = ListMenuLayout::rowsFrame(m_visibleRows, 0);
            const QRectF label(rows.left() + 16,
                               rows.top() + ListMenuLayout::emptyLabelTop(m_visibleRows, height),
                               rows.width() - 32, height);
            drawText(painter, label, m_emptyText, font, DS::menuTextTertiary());
        }
        paintFooter(painter);
    }

    void changeEvent(QEvent* event) override
    {
        // The menu tones follow the palette: a light/dark switch recolours.
        if (event->type() == QEvent::PaletteChange)
            QWidget::update();
        QWidget::changeEvent(event);
    }

private:
    void paintHeader(QPainter& painter)
    {
        const QRectF frame = ListMenuLayout::headerFrame();
        if (std::holds_alternative<ListMenu::Caption>(m_header)) {
            QFont font = menuFont(true, 9.5, QFont::Medium);
            font.setLetterSpacing(QFont::AbsoluteSpacing, 0.8);
            drawText(painter, frame, headerText(), font, DS::menuTextTertiary());
            return;
        }
        const bool empty = std::get<ListMenu::Search>(m_header).query.isEmpty();
        drawText(painter, frame, headerText(), menuFont(true, 12, QFont::Medium),
                 empty ? DS::menuTextTertiary() : DS::menuText());
    }

    void paintFooter(QPainter& painter)
    {
        const QRectF frame = ListMenuLayout::footerFrame(m_visibleRows, m_itemCount);
        painter.fillRect(QRectF(frame.left(), frame.top(), frame.width(), 1), DS::menuHairline());
        const QFont font = menuFont(true, 10);
        const QFontMetricsF metrics(font);
        double x = frame.left() + 11;
        const double height = metrics.height();
        for (const QString& hint : m_footer) {
            const double width = metrics.horizontalAdvance(hint);
            drawText(painter, QRectF(x, frame.bottom() - 5 - height, width + 1, height), hint, font,
                     DS::menuTextTertiary());
            x += width + 14;
        }
    }

    void applyShape()
    {
        if (overlays().translucent())
            return;
        QPainterPath path;
        path.addRoundedRect(QRectF(QPointF(), QSizeF(size())), cornerRadius, cornerRadius);
        overlays().setShape(*this, path);
    }

    ListMenuRow* rowAt(int index) const
    {
        return index >= 0 && index < int(m_rows.size()) ? m_rows[std::size_t(index)] : nullptr;
    }

    // X11 reports an enter when rows move under a resting pointer (a scroll,
    // a window mapped under it): only a pointer that really moved hovers.
    void rowEntered(int index)
    {
        const QPointF location = platform::platform().pointer().location();
        if (m_lastMouseLocation && *m_lastMouseLocation == location)
            return;
        m_lastMouseLocation = location;
        if (m_owner.onHover)
            m_owner.onHover(index);
    }

    ListMenu& m_owner;
    QStringList m_footer;
    int m_visibleRows;
    QString m_emptyText;
    ListMenu::Header m_header;
    int m_itemCount = 0;
    QScrollArea* m_scroll = nullptr;
    std::vector<ListMenuRow*> m_rows;
    std::optional<QPointF> m_lastMouseLocation;
};

ListMenu::ListMenu()
    : m_emptyText(QStringLiteral("No matches"))
{
}

ListMenu::~ListMenu()
{
    close();
}

QWidget* ListMenu::panel() const
{
    return m_panel;
}

void ListMenu::show(const std::vector<Item>& items, const Header& header, const QStringList& footer,
                    int visibleRows)
{
    close();
    // The panel starts with the menu's empty text, so an owner that set it
    // before showing an empty list sees its own text at once.
    auto* panel = new ListMenuPanel(*this, footer, visibleRows, m_emptyText);
    m_panel = panel;
    overlays().prepare(*panel, {menuLevel, false});
    panel->rebuild(items, header);
    platform::Platform& system = platform::platform();
    m_frame = ListMenuLayout::placement(system.pointer().location(), QSizeF(panel->size()),
                                        system.displays().screens(), system.displays().mainScreen());
    overlays().setFrame(*panel, m_frame);
    overlays().show(*panel);
    panel->highlight(0);
}

void ListMenu::update(const std::vector<Item>& items, const Header& header)
{
    if (!m_panel)
        return;
    m_panel->rebuild(items, header);
    // In the y-up space the top edge is the frame's bottom(): keep it and
    // grow or shrink downward.
    const QSizeF size(m_panel->size());
    m_frame = QRectF(m_frame.left(), m_frame.bottom() - size.height(), size.width(), size.height());
    overlays().setFrame(*m_panel, m_frame);
    m_panel->highlight(0);
}

void ListMenu::close()
{
    if (!m_panel)
        return;
    ListMenuPanel* panel = m_panel;
    m_panel = nullptr;
    overlays().hide(*panel);
    // A pick handler may close the menu from inside the panel's own event.
    panel->deleteLater();
}

void ListMenu::highlight(int index)
{
    if (m_panel)
        m_panel->highlight(index);
}

std::optional<int> ListMenu::highlightedIndex() const
{
    return m_panel ? m_panel->highlightedIndex() : std::nullopt;
}

double ListMenu::scrollOffset() const
{
    return m_panel ? m_panel->scrollOffset() : 0;
}

QString ListMenu::headerText() const
{
    return m_panel ? m_panel->headerText() : QString();
}

std::optional<QString> ListMenu::shownEmptyText() const
{
    return m_panel ? m_panel->shownEmptyText() : std::nullopt;
}

void ListMenu::setEmptyText(const QString& text)
{
    m_emptyText = text;
    if (m_panel)
        m_panel->setEmptyText(text);
}

} // namespace quillon
