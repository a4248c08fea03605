#include "notch/CanvasSurface.h"

#include "notch/NotchBarView.h"

#include <cmath>

namespace quillon {

namespace {

void discard(NotchBarView* bar)
{
    if (!bar)
        return;
    bar->hide();
    bar->setParent(nullptr);
    bar->deleteLater();
}

} // namespace

CanvasSurface::CanvasSurface(QWidget* canvas, const std::optional<QRectF>& notch, QWidget* lens)
    : m_canvas(canvas)
    , m_notch(notch)
    , m_lens(lens)
{
}

std::optional<QRectF> CanvasSurface::notchRect() const
{
    if (!m_notch || !m_canvas)
        return std::nullopt;
    return QRectF(m_notch->x(), m_canvas->height() - m_notch->bottom(), m_notch->width(), m_notch->height());
}

std::shared_ptr<NotchMount> CanvasSurface::mount(NotchBarView* bar, const QRectF& frame)
{
    auto mount = std::make_shared<CanvasMount>(nullptr, m_canvas, m_lens);
    mount->replace(bar, frame);
    return mount;
}

CanvasSurface::CanvasMount::CanvasMount(NotchBarView* bar, QWidget* canvas, QWidget* lens)
    : m_bar(bar)
    , m_canvas(canvas)
    , m_lens(lens)
{
}

CanvasSurface::CanvasMount::~CanvasMount()
{
    discard(m_bar);
}

// `frame` is y up in the canvas; the bar keeps its own size.
void CanvasSurface::CanvasMount::place(NotchBarView* bar, const QRectF& frame)
{
    if (!m_canvas) {
        discard(bar);
        return;
    }
    bar->setParent(m_canvas);
    const double top = m_canvas->height() - (frame.y() + bar->barSize().height());
    bar->move(int(std::lround(frame.x())), int(std::lround(top)));
    if (m_lens && m_lens->parentWidget() == m_canvas)
        bar->stackUnder(m_lens);
    bar->show();
}

void CanvasSurface::CanvasMount::replace(NotchBarView* bar, const QRectF& frame)
{
    discard(m_bar);
    m_bar = bar;
    place(bar, frame);
}

void CanvasSurface::CanvasMount::move(const QRectF& frame)
{
    if (m_bar)
        place(m_bar, frame);
}

void CanvasSurface::CanvasMount::remove()
{
    discard(m_bar);
    m_bar = nullptr;
}

} // namespace quillon
