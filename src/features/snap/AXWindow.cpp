#include "features/snap/AXWindow.h"

#include "platform/Platform.h"
#include "platform/ScreenSpace.h"

namespace quillon {

std::optional<AXWindow> AXWindow::focused(std::optional<int32_t> pid)
{
    platform::Platform& p = platform::platform();
    if (!pid) {
        const auto front = p.workspace().frontmostApp();
        if (!front)
            return std::nullopt;
        pid = front->pid;
    }
    const auto window = p.windowControl().mainWindow(*pid);
    if (!window)
        return std::nullopt;
    return AXWindow{*window, *pid};
}

std::optional<QRectF> AXWindow::frame() const
{
    const auto quartz = platform::platform().windowControl().frame(element);
    if (!quartz || quartz->width() <= 0 || quartz->height() <= 0)
        return std::nullopt;
    return flip(*quartz);
}

void AXWindow::setFrame(const QRectF& frame, std::function<void(std::optional<QRectF>)> done) const
{
    platform::platform().windowControl().setFrame(
        element, flip(frame), [done = std::move(done)](std::optional<QRectF> readBack) {
            if (!done)
                return;
            if (readBack && readBack->width() > 0 && readBack->height() > 0)
                done(flip(*readBack));
            else
                done(std::nullopt);
        });
}

bool AXWindow::isResizable() const
{
    return resizable(platform::platform().windowControl().isResizable(element), std::nullopt);
}

bool AXWindow::resizable(std::optional<bool> sizeSettable, const std::optional<QString>& subrole)
{
    if (!sizeSettable)
        return true;
    if (!*sizeSettable)
        return false;
    return subrole != QStringLiteral("AXSystemDialog");
}

QRectF AXWindow::flip(const QRectF& rect)
{
    const auto screens = platform::platform().displays().screens();
    const double height = screens.empty() ? 0.0 : screens.front().frame.bottom();
    return platform::ScreenSpace::cocoaFromQuartz(rect, QRectF(0, 0, 0, height));
}

} // namespace quillon
