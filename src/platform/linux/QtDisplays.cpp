#include "platform/linux/QtDisplays.h"

#include "platform/ScreenSpace.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QScreen>

namespace quillon::platform::linux_ {

namespace {

bool isBuiltIn(const QString& output)
{
    // A screen whose name cannot be read counts as built in, never as external.
    return output.isEmpty() || output.startsWith(QLatin1String("eDP")) || output.startsWith(QLatin1String("LVDS"))
        || output.startsWith(QLatin1String("DSI"));
}

// Stable across runs and ports where the monitor reports its identity.
QString stableId(const QScreen* screen)
{
    const QString identity = screen->manufacturer() + '|' + screen->model() + '|' + screen->serialNumber();
    if (screen->serialNumber().isEmpty() && screen->model().isEmpty())
        return screen->name();
    return QString::fromLatin1(QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

Screen describe(const QScreen* screen, const QRectF& primary)
{
    Screen s;
    s.id = stableId(screen);
    s.name = screen->name();
    s.frame = ScreenSpace::cocoaFromNative(QRectF(screen->geometry()), primary);
    s.visibleFrame = ScreenSpace::cocoaFromNative(QRectF(screen->availableGeometry()), primary);
    s.scale = screen->devicePixelRatio();
    s.builtIn = isBuiltIn(screen->name());
    return s;
}

} // namespace

QtDisplays::QtDisplays()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
        watch(screen);
        changed();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [this] { changed(); });
    connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { changed(); });
}

void QtDisplays::watch(QScreen* screen)
{
    connect(screen, &QScreen::geometryChanged, this, [this] { changed(); });
    connect(screen, &QScreen::availableGeometryChanged, this, [this] { changed(); });
}

void QtDisplays::changed() { m_handlers.notify(); }

std::vector<Screen> QtDisplays::screens() const
{
    std::vector<Screen> result;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return result;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return result;
    const QRectF primaryRect(primary->geometry());
    result.push_back(describe(primary, primaryRect));
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary)
            result.push_back(describe(screen, primaryRect));
    }
    return result;
}

std::optional<Screen> QtDisplays::mainScreen() const
{
    auto all = screens();
    if (all.empty())
        return std::nullopt;
    return all.front();
}

} // namespace quillon::platform::linux_
