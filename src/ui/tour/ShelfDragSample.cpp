#include "ui/tour/ShelfDragSample.h"

#include "platform/DragProbe.h"
#include "platform/Platform.h"
#include "support/DS.h"
#include "support/Symbols.h"
#include "ui/panes/PaneKit.h"

#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon {

/// The 54 × 54 picture tile on the accent gradient; the drag source.
class ShelfDragSample::Tile final : public QWidget {
public:
    explicit Tile(ShelfDragSample& owner)
        : m_owner(owner)
    {
        setFixedSize(54, 54);
        setAccessibleName(QStringLiteral("Sample image"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        // Dimmed until there is a file to drag.
        painter.setOpacity(m_owner.isDraggable() ? 1.0 : 0.4);
        QColor top = DS::accent();
        top.setAlphaF(0.85f);
        QColor bottom = DS::accent();
        bottom.setAlphaF(0.5f);
        QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
        gradient.setColorAt(0, top);
        gradient.setColorAt(1, bottom);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), 9, 9);
        painter.fillPath(shape, gradient);
        if (const auto photo = Symbols::image(QStringLiteral("photo")))
            Symbols::paint(painter, *photo, QRectF(17, 17, 20, 20), Qt::white);
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_pressedAt = event->position().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!m_pressedAt || !(event->buttons() & Qt::LeftButton))
            return;
        if ((event->position().toPoint() - *m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        m_pressedAt.reset();
        if (m_owner.isDraggable())
            m_owner.startDrag();
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_pressedAt.reset(); }

private:
    ShelfDragSample& m_owner;
    std::optional<QPoint> m_pressedAt;
};

ShelfDragSample::ShelfDragSample(std::function<std::optional<QString>()> imageURL,
                                 std::function<void()> onDragStarted, QWidget* parent)
    : QWidget(parent)
    , execDrag([](QDrag& drag) { drag.exec(Qt::CopyAction); })
    , m_imageURL(std::move(imageURL))
    , m_onDragStarted(std::move(onDragStarted))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(13);
    m_tile = new Tile(*this);
    layout->addWidget(m_tile, 0, Qt::AlignVCenter);
    auto* lines = new QVBoxLayout;
    lines->setSpacing(4);
    lines->addWidget(paneLabel(QStringLiteral("Drag this up to the notch"), 12.5, QFont::Medium));
    lines->addWidget(paneLabel(QStringLiteral("It parks there. Click the notch to open the shelf — then convert "
                                              "it to another format, copy it, or drag it straight into any app."),
                               11.5, QFont::Normal, true));
    m_note = paneLabel(QString(), 11.5, QFont::Normal, true);
    m_note->hide();
    lines->addWidget(m_note);
    layout->addLayout(lines, 1);
}

QWidget* ShelfDragSample::tile() const
{
    return m_tile;
}

void ShelfDragSample::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_asked)
        return;
    m_asked = true;
    m_url = m_imageURL ? m_imageURL() : std::nullopt;
    m_tile->setCursor(m_url ? Qt::OpenHandCursor : Qt::ArrowCursor);
    m_tile->update();
}

void ShelfDragSample::setNote(const std::optional<QString>& note)
{
    m_note->setText(note.value_or(QString()));
    m_note->setVisible(note.has_value());
}

QMimeData* ShelfDragSample::dragData() const
{
    auto* data = new QMimeData;
    if (m_url)
        data->setUrls({QUrl::fromLocalFile(*m_url)});
    return data;
}

void ShelfDragSample::startDrag()
{
    if (!m_url)
        return;
    if (m_onDragStarted)
        m_onDragStarted();
    // Our own drag takes the drag selection: the probe answers with the file.
    // The shelf takes it like any file dragged to the top of the screen.
    platform::DragProbe& probe = platform::platform().dragProbe();
    probe.noteOwnDrag({QUrl::fromLocalFile(*m_url)});
    auto* drag = new QDrag(m_tile);
    drag->setMimeData(dragData());
    drag->setPixmap(m_tile->grab());
    drag->setHotSpot(QPoint(27, 27));
    if (execDrag)
        execDrag(*drag);
    // The card may be gone by now: only the probe is touched after the drop.
    probe.endOwnDrag();
}

} // namespace quillon
