#include "fakes/FakeOverlayWindows.h"

#include <algorithm>

namespace quillon::fakes {

void FakeOverlayWindows::prepare(QWidget& window, const platform::OverlayStyle& style)
{
    recordOf(window).style = style;
}

void FakeOverlayWindows::setFrame(QWidget& window, const QRectF& frame)
{
    recordOf(window).frame = frame;
    window.resize(frame.size().toSize());
}

void FakeOverlayWindows::show(QWidget& window)
{
    recordOf(window).shown = true;
    window.show();
}

void FakeOverlayWindows::hide(QWidget& window)
{
    recordOf(window).shown = false;
    window.hide();
}

void FakeOverlayWindows::setShape(QWidget& window, const QPainterPath& outline)
{
    Record& record = recordOf(window);
    record.shape = outline;
    ++record.shapeCount;
    record.shapeBounds.push_back(outline.boundingRect());
}

bool FakeOverlayWindows::stackAbove(QWidget& window, platform::WindowId client)
{
    if (goneClients.count(client))
        return false;
    Record& record = recordOf(window);
    record.above = client;
    record.atBack = false;
    ++record.stackings;
    return true;
}

void FakeOverlayWindows::stackAtBack(QWidget& window)
{
    Record& record = recordOf(window);
    record.above.reset();
    record.atBack = true;
    ++record.stackings;
}

const FakeOverlayWindows::Record* FakeOverlayWindows::find(const QWidget* window) const
{
    for (const auto& r : records) {
        if (r.window == window)
            return &r;
    }
    return nullptr;
}

std::vector<QWidget*> FakeOverlayWindows::shownWindows() const
{
    std::vector<QWidget*> result;
    for (const auto& r : records) {
        if (r.window && r.shown)
            result.push_back(r.window);
    }
    return result;
}

FakeOverlayWindows::Record& FakeOverlayWindows::recordOf(QWidget& window)
{
    for (auto& r : records) {
        if (r.window == &window)
            return r;
    }
    Record record;
    record.window = &window;
    records.push_back(record);
    return records.back();
}

} // namespace quillon::fakes
