#include "platform/linux/DevicePixels.h"

#include "platform/ScreenSpace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <cmath>
#include <mutex>

namespace quillon::platform::linux_ {

namespace {

std::mutex& sharedMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<ScreenScale>& shared()
{
    static std::vector<ScreenScale> screens;
    return screens;
}

bool onGuiThread()
{
    const auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return app && QThread::currentThread() == app->thread();
}

ScreenScale describe(const QScreen* screen)
{
    const QRect logical = screen->geometry();
    const double ratio = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
    const QSize size(int(std::lround(logical.width() * ratio)), int(std::lround(logical.height() * ratio)));
    return {QRect(logical.topLeft(), size), ratio};
}

std::vector<ScreenScale> readScreens()
{
    std::vector<ScreenScale> result;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        result.push_back(describe(primary));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            result.push_back(describe(screen));
    }
    std::lock_guard lock(sharedMutex());
    shared() = result;
    return result;
}

QRectF logicalArea(const ScreenScale& s)
{
    return QRectF(QPointF(s.device.topLeft()), QSizeF(s.device.size()) / s.ratio);
}

} // namespace

DevicePixels::DevicePixels(std::vector<ScreenScale> screens)
    : m_screens(std::move(screens))
{
}

DevicePixels DevicePixels::current()
{
    if (onGuiThread())
        return DevicePixels(readScreens());
    std::lock_guard lock(sharedMutex());
    return DevicePixels(shared());
}

void DevicePixels::follow()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app || !onGuiThread())
        return;
    static bool following = false;
    if (following)
        return;
    following = true;
    const auto watch = [app](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, app, [] { readScreens(); });
        QObject::connect(screen, &QScreen::physicalDotsPerInchChanged, app, [] { readScreens(); });
        QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, app, [] { readScreens(); });
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(app, &QGuiApplication::screenAdded, app, [watch](QScreen* screen) {
        watch(screen);
        readScreens();
    });
    QObject::connect(app, &QGuiApplication::screenRemoved, app, [] { readScreens(); });
    QObject::connect(app, &QGuiApplication::primaryScreenChanged, app, [] { readScreens(); });
    readScreens();
}

const ScreenScale* DevicePixels::screenFor(const QRectF& rect, bool logical) const
{
    if (m_screens.empty())
        return nullptr;
    const auto area = [logical](const ScreenScale& s) { return logical ? logicalArea(s) : QRectF(s.device); };
    const QPointF centre = rect.center();
    for (const ScreenScale& s : m_screens) {
        if (area(s).contains(centre))
            return &s;
    }
    const ScreenScale* best = &m_screens.front();
    double bestOverlap = 0;
    for (const ScreenScale& s : m_screens) {
        const QRectF overlap = area(s).intersected(rect);
        const double size = overlap.width() * overlap.height();
        if (size > bestOverlap) {
            bestOverlap = size;
            best = &s;
        }
    }
    return best;
}

QRectF DevicePixels::toLogical(const QRect& device) const
{
    const ScreenScale* s = screenFor(QRectF(device), false);
    if (!s || s->ratio == 1.0)
        return QRectF(device);
    const QPointF origin(s->device.topLeft());
    return QRectF(origin + (QPointF(device.topLeft()) - origin) / s->ratio, QSizeF(device.size()) / s->ratio);
}

QRect DevicePixels::toDevice(const QRectF& logical) const
{
    const ScreenScale* s = screenFor(logical, true);
    const double ratio = s ? s->ratio : 1.0;
    const QPointF origin = s ? QPointF(s->device.topLeft()) : QPointF();
    const auto edge = [ratio](double value, double from) {
        return int(std::lround(from + (value - from) * ratio));
    };
    const int left = edge(logical.left(), origin.x()), top = edge(logical.top(), origin.y());
    int right = edge(logical.left() + logical.width(), origin.x());
    int bottom = edge(logical.top() + logical.height(), origin.y());
    if (logical.width() > 0 && right <= left)
        right = left + 1;
    if (logical.height() > 0 && bottom <= top)
        bottom = top + 1;
    return QRect(left, top, right - left, bottom - top);
}

QRectF DevicePixels::quartzFromDevice(const QRect& frame, const QRect& primaryDevice) const
{
    return ScreenSpace::quartzFromNative(toLogical(frame), toLogical(primaryDevice));
}

QRect DevicePixels::deviceFromQuartz(const QRectF& frame, const QRect& primaryDevice) const
{
    return toDevice(ScreenSpace::nativeFromQuartz(frame, toLogical(primaryDevice)));
}

} // namespace quillon::platform::linux_
