#include "support/Symbols.h"

#include <QCache>
#include <QHash>
#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <memory>

namespace quillon {

namespace {

// Each glyph is drawn in a 24-unit square: black marks the shape, white
// knocks holes into it (a check mark cut out of a filled circle). Shortcuts:
// {F} a black fill, {K} a white knock-out stroke, {KF} a white knock-out fill.
struct Glyph {
    const char* name;
    const char* body;
};

constexpr Glyph kGlyphs[] = {
    {"1.square", R"(<rect x="3" y="3" width="18" height="18" rx="4"/><path d="M10 9l2-1.5v9M10 16.5h4"/>)"},
    {"2.square", R"(<rect x="3" y="3" width="18" height="18" rx="4"/>)"
                 R"(<path d="M9.5 10a2.5 2.5 0 0 1 5 0c0 2.5-5 3.5-5 6.5h5"/>)"},
    {"airdrop", R"(<circle {F} cx="12" cy="13" r="1.8"/><path d="M8.5 16.5a5 5 0 1 1 7 0"/>)"
                R"(<path d="M5.6 19.4a9 9 0 1 1 12.8 0"/>)"},
    {"airpods", R"(<path d="M7 4a3 3 0 0 0-3 3v1a3 3 0 0 0 3 3h1v8a1 1 0 0 1-2 0"/>)"
                R"(<path d="M7 4a3 3 0 0 1 3 3v12a1.5 1.5 0 0 1-3 0"/>)"
                R"(<path d="M17 4a3 3 0 0 1 3 3v1a3 3 0 0 1-3 3h-1v8a1 1 0 0 0 2 0"/>)"
                R"(<path d="M17 4a3 3 0 0 0-3 3v12a1.5 1.5 0 0 0 3 0"/>)"},
    {"airpods.pro", R"(<circle cx="7" cy="9" r="4"/><path d="M9.5 12v6"/>)"
                    R"(<circle cx="17" cy="9" r="4"/><path d="M14.5 12v6"/>)"},
    {"archivebox", R"(<rect x="3" y="4" width="18" height="5" rx="1"/>)"
                   R"(<path d="M5 9v10a1 1 0 0 0 1 1h12a1 1 0 0 0 1-1V9M10 13h4"/>)"},
    {"arrow.2.squarepath",
     R"(<path d="M4 12V9a3 3 0 0 1 3-3h12M16 3l3 3-3 3M20 12v3a3 3 0 0 1-3 3H5M8 21l-3-3 3-3"/>)"},
    {"arrow.counterclockwise", R"(<path d="M5 12a7 7 0 1 0 2.1-5M5 3.5v4.5h4.5"/>)"},
    {"arrow.down.doc", R"(<path d="M14 3H7a2 2 0 0 0-2 2v14a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V8z"/>)"
                       R"(<path d="M14 3v5h5M12 11v6M9 14l3 3 3-3"/>)"},
    {"arrow.left.to.line", R"(<path d="M4 4v16M20 12H8M13 7l-5 5 5 5"/>)"},
    {"arrow.right.to.line", R"(<path d="M20 4v16M4 12h12M11 7l5 5-5 5"/>)"},
    {"arrow.uturn.backward", R"(<path d="M9 14L4 9l5-5M4 9h10.5a5.5 5.5 0 0 1 0 11H11"/>)"},
    {"backward.fill", R"(<path {F} d="M11 6v12l-8-6zM21 6v12l-8-6z"/>)"},
    {"checkmark.circle.fill", R"(<circle {F} cx="12" cy="12" r="10"/><path {K} d="M7.5 12.5l3 3 6-6.5"/>)"},
    {"checkmark.seal.fill",
     R"(<path {F} d="M12 1.5L14.3 3.5L17.2 2.9L18.2 5.8L21.1 6.7L20.5 9.7L22.5 12L20.5 14.3L21.1 17.2L18.2 18.2)"
     R"(L17.2 21.1L14.3 20.5L12 22.5L9.7 20.5L6.8 21.1L5.8 18.2L2.9 17.3L3.5 14.3L1.5 12L3.5 9.7L2.9 6.7L5.8 5.8)"
     R"(L6.7 2.9L9.7 3.5z"/><path {K} d="M8 12.5l2.8 2.8 5.2-5.6"/>)"},
    {"chevron.left.forwardslash.chevron.right", R"(<path d="M8 7l-5 5 5 5M16 7l5 5-5 5M14 4l-4 16"/>)"},
    {"circle.lefthalf.filled", R"(<circle cx="12" cy="12" r="9"/><path {F} d="M12 3a9 9 0 0 0 0 18z"/>)"},
    {"command", R"(<path d="M9 9V6a3 3 0 1 0-3 3h12a3 3 0 1 0-3-3v12a3 3 0 1 0 3-3H6a3 3 0 1 0 3 3z"/>)"},
    {"computermouse", R"(<rect x="6" y="3" width="12" height="18" rx="6"/><path d="M12 7v4"/>)"},
    {"cup.and.saucer.fill", R"(<path {F} d="M4 6h12v6a5 5 0 0 1-5 5H9a5 5 0 0 1-5-5z"/>)"
                            R"(<path d="M16 8h1.5a2.5 2.5 0 0 1 0 5H16M3 20h15"/>)"},
    {"doc.fill", R"(<path {F} d="M6 2h8l6 6v12a2 2 0 0 1-2 2H6a2 2 0 0 1-2-2V4a2 2 0 0 1 2-2z"/>)"
                 R"(<path {K} stroke-width="1.5" d="M14 3v5h5"/>)"},
    {"doc.on.clipboard",
     R"(<rect x="5" y="4" width="14" height="18" rx="2"/>)"
     R"(<rect {F} x="8.5" y="2" width="7" height="4" rx="1"/><path d="M9 11h6M9 15h6"/>)"},
    {"doc.on.doc", R"(<rect x="8" y="8" width="13" height="13" rx="2"/>)"
                   R"(<path d="M16 8V5a2 2 0 0 0-2-2H5a2 2 0 0 0-2 2v9a2 2 0 0 0 2 2h3"/>)"},
    {"doc.zipper",
     R"(<path d="M14 3H7a2 2 0 0 0-2 2v14a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V8z"/>)"
     R"(<path d="M14 3v5h5M11 5h1.5M10.5 7.5H12M11 10h1.5"/><rect x="10" y="13" width="3" height="4" rx="1"/>)"},
    {"envelope", R"(<rect x="3" y="5" width="18" height="14" rx="2"/><path d="M3 7l9 6 9-6"/>)"},
    {"exclamationmark.triangle.fill",
     R"(<path {F} d="M10.3 3.5a2 2 0 0 1 3.4 0l8 14A2 2 0 0 1 20 20.5H4a2 2 0 0 1-1.7-3z"/>)"
     R"(<path {K} d="M12 9v4.5"/><circle {KF} cx="12" cy="17" r="1.2"/>)"},
    {"eye", R"(<path d="M2 12s3.5-7 10-7 10 7 10 7-3.5 7-10 7-10-7-10-7z"/><circle cx="12" cy="12" r="3"/>)"},
    {"eye.fill", R"(<path {F} d="M1.5 12S5.5 4.5 12 4.5 22.5 12 22.5 12 18.5 19.5 12 19.5 1.5 12 1.5 12z"/>)"
                 R"(<circle {K} cx="12" cy="12" r="3.6"/><circle {F} cx="12" cy="12" r="1.6"/>)"},
    {"eyedropper.halffull",
     R"(<path d="M14 6l4 4M15.5 4.5a2.1 2.1 0 0 1 3 0l1 1a2.1 2.1 0 0 1 0 3L17 11l-4-4z"/>)"
     R"(<path d="M13 9l-8 8-1 3 3-1 8-8"/><path {F} d="M5 17l4-4 3 0-5 5.5-3 1.5z"/>)"},
    {"forward.fill", R"(<path {F} d="M3 6v12l8-6zM13 6v12l8-6z"/>)"},
    {"gearshape.fill",
     R"(<path {F} d="M9.7 1.8L14.3 1.8L14.8 4.5L15.3 4.7L17.6 3.1L20.9 6.4L19.3 8.7L19.5 9.2L22.2 9.7L22.2 14.3)"
     R"(L19.5 14.8L19.3 15.3L20.9 17.6L17.6 20.9L15.3 19.3L14.8 19.5L14.3 22.2L9.7 22.2L9.2 19.5L8.7 19.3)"
     R"(L6.4 20.9L3.1 17.6L4.7 15.3L4.5 14.8L1.8 14.3L1.8 9.7L4.5 9.2L4.7 8.7L3.1 6.4L6.4 3.1L8.7 4.7L9.2 4.5z"/>)"
     R"(<circle {F} cx="12" cy="12" r="8.5"/><circle {KF} cx="12" cy="12" r="3.2"/>)"},
    {"headphones",
     R"(<path d="M3 18v-6a9 9 0 0 1 18 0v6"/>)"
     R"(<rect {F} x="2" y="14" width="5" height="7" rx="1.5"/><rect {F} x="17" y="14" width="5" height="7" rx="1.5"/>)"},
    {"info", R"(<path d="M10 10h2v9M9.5 19h5"/><circle {F} cx="12" cy="5.5" r="1.6"/>)"},
    {"keyboard", R"(<rect x="2" y="6" width="20" height="12" rx="2"/>)"
                 R"(<path d="M6 10h.01M10 10h.01M14 10h.01M18 10h.01M8 14h8"/>)"},
    {"link", R"(<path d="M10 14a4 4 0 0 0 5.7 0l3-3a4 4 0 0 0-5.7-5.7l-1 1"/>)"
             R"(<path d="M14 10a4 4 0 0 0-5.7 0l-3 3a4 4 0 0 0 5.7 5.7l1-1"/>)"},
    {"macwindow", R"(<rect x="2" y="4" width="20" height="16" rx="2"/><path d="M2 9h20"/>)"
                  R"(<circle {F} cx="5" cy="6.5" r="0.9"/><circle {F} cx="8" cy="6.5" r="0.9"/>)"},
    {"magicmouse", R"(<path d="M3 18c0-6.5 4-11 9-11s9 4.5 9 11z"/><path d="M12 7v4"/>)"},
    {"moon.zzz.fill", R"(<path {F} d="M13 6a8 8 0 1 0 8 10 6.5 6.5 0 0 1-8-10z"/>)"
                      R"(<path stroke-width="1.6" d="M15 3h3l-3 3.5h3M19.5 8H22l-2.5 3H22"/>)"},
    {"music.note", R"(<path d="M12 18V3l6 3"/><circle {F} cx="9" cy="18" r="3.2"/>)"},
    {"pin", R"(<path d="M8 2.5h8l-1 6.5 3.5 4.5h-13L9 9z"/><path d="M12 13.5v8"/>)"},
    {"pin.fill", R"(<path {F} d="M8 2.5h8l-1 6.5 3.5 4.5h-13L9 9z"/><path d="M12 13v8.5"/>)"},
    {"photo", R"(<rect x="3" y="4" width="18" height="16" rx="2"/><circle cx="9" cy="9.5" r="1.5"/>)"
              R"(<path d="M21 16l-5-5-9 9"/>)"},
    {"play.circle", R"(<circle cx="12" cy="12" r="10"/><path {F} d="M10 8v8l6-4z"/>)"},
    {"play.circle.fill", R"(<circle {F} cx="12" cy="12" r="10"/><path {KF} d="M10 7.5v9l6.5-4.5z"/>)"},
    {"playpause.fill", R"(<path {F} d="M2 6v12l8.5-6zM13 6h3v12h-3zM18 6h3v12h-3z"/>)"},
    {"plus", R"(<path d="M12 5v14M5 12h14"/>)"},
    {"rectangle.on.rectangle", R"(<rect x="3" y="9" width="14" height="11" rx="2"/>)"
                               R"(<path d="M7 9V6a2 2 0 0 1 2-2h10a2 2 0 0 1 2 2v7a2 2 0 0 1-2 2h-2"/>)"},
    {"sparkles", R"(<path {F} d="M10 3l1.8 5.2L17 10l-5.2 1.8L10 17l-1.8-5.2L3 10l5.2-1.8z"/>)"
                 R"(<path {F} d="M18 14l.9 2.1L21 17l-2.1.9L18 20l-.9-2.1L15 17l2.1-.9z"/>)"
                 R"(<path {F} d="M18.5 2l.6 1.4 1.4.6-1.4.6-.6 1.4-.6-1.4-1.4-.6 1.4-.6z"/>)"},
    {"sparkles.rectangle.stack.fill",
     R"(<path d="M6 3.5h12M4 6.5h16"/><rect {F} x="2" y="9" width="20" height="12" rx="2"/>)"
     R"(<path {KF} d="M12 11l1.2 2.8L16 15l-2.8 1.2L12 19l-1.2-2.8L8 15l2.8-1.2z"/>)"},
    {"square.and.arrow.up",
     R"(<path d="M8 10H6a1 1 0 0 0-1 1v9a1 1 0 0 0 1 1h12a1 1 0 0 0 1-1v-9a1 1 0 0 0-1-1h-2)"
     R"(M12 3v12M8 7l4-4 4 4"/>)"},
    {"text.alignleft", R"(<path d="M4 6h16M4 10h10M4 14h16M4 18h10"/>)"},
    {"text.append", R"(<path d="M4 6h16M4 10h16M4 14h8M4 18h8M18 13v7M14.5 16.5h7"/>)"},
    {"text.viewfinder", R"(<path d="M3 8V5a2 2 0 0 1 2-2h3M16 3h3a2 2 0 0 1 2 2v3M21 16v3a2 2 0 0 1-2 2h-3)"
                        R"(M8 21H5a2 2 0 0 1-2-2v-3M8 9h8M8 12h8M8 15h5"/>)"},
    {"trash", R"(<path d="M4 6h16M9 6V4h6v2M6 6l1 14a1 1 0 0 0 1 1h8a1 1 0 0 0 1-1l1-14M10 10v7M14 10v7"/>)"},
    {"tray.and.arrow.down", R"(<path d="M3 14h5l1 3h6l1-3h5v5a2 2 0 0 1-2 2H5a2 2 0 0 1-2-2z"/>)"
                            R"(<path d="M12 3v9M8.5 8.5L12 12l3.5-3.5"/>)"},
    {"tray.fill", R"(<path {F} d="M5.5 4h13l3 9v6a2 2 0 0 1-2 2h-15a2 2 0 0 1-2-2v-6z"/>)"
                  R"(<path {K} stroke-width="1.6" d="M3.5 13H8l1.5 3h5l1.5-3h4.5"/>)"},
    {"tray.full", R"(<path d="M5.5 4h13l3 9v6a2 2 0 0 1-2 2h-15a2 2 0 0 1-2-2v-6z"/>)"
                  R"(<path d="M3 13h5l1.5 3h5l1.5-3h5M8 7.5h8M7 10.5h10"/>)"},
    {"xmark", R"(<path d="M6 6l12 12M18 6L6 18"/>)"},
    {"xmark.bin", R"(<rect x="3" y="3" width="18" height="5" rx="1"/>)"
                  R"(<path d="M5 8v11a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V8M9.5 11.5l5 5M14.5 11.5l-5 5"/>)"},
    {"xmark.circle.fill",
     R"(<circle {F} cx="12" cy="12" r="10"/><path {K} d="M8.5 8.5l7 7M15.5 8.5l-7 7"/>)"},
};

const Glyph* findGlyph(const QString& name)
{
    for (const auto& glyph : kGlyphs) {
        if (name == QLatin1String(glyph.name))
            return &glyph;
    }
    return nullptr;
}

QByteArray svgOf(const Glyph& glyph)
{
    QByteArray body(glyph.body);
    body.replace("{F}", R"(fill="#000" stroke="none")");
    body.replace("{KF}", R"(fill="#fff" stroke="none")");
    body.replace("{K}", R"(stroke="#fff")");
    return R"(<svg xmlns="http://www.w3.org/2000/svg" width="24" height="24" viewBox="0 0 24 24" fill="none" )"
           R"(stroke="#000" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">)" +
           body + "</svg>";
}

std::shared_ptr<QSvgRenderer> rendererFor(const Glyph& glyph)
{
    static QHash<const Glyph*, std::shared_ptr<QSvgRenderer>> cache;
    auto& renderer = cache[&glyph];
    if (!renderer)
        renderer = std::make_shared<QSvgRenderer>(svgOf(glyph));
    return renderer;
}

// The glyph's coverage at `pixels`: black counts as shape, white as a hole,
// anti-aliased mixes in between. The result is black with that coverage.
QImage coverage(QSvgRenderer& renderer, const QSize& pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Premultiplied: the grey level times alpha sits in each channel.
            const int alpha = qAlpha(line[x]);
            line[x] = qRgba(0, 0, 0, alpha - qGray(line[x]));
        }
    }
    return image;
}

class SymbolEngine final : public QIconEngine {
public:
    SymbolEngine(QString name, std::shared_ptr<QSvgRenderer> renderer)
        : m_name(std::move(name))
        , m_renderer(std::move(renderer))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawImage(QRectF(rect), coverage(*m_renderer, (QSizeF(rect.size()) * dpr).toSize()));
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode, QIcon::State, qreal scale) override
    {
        QPixmap pixmap = QPixmap::fromImage(coverage(*m_renderer, fitted(size)));
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return fitted(size); }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {Symbols::naturalSize.toSize()};
    }
    QString iconName() override { return m_name; }
    QString key() const override { return QStringLiteral("quillon.symbol"); }
    QIconEngine* clone() const override { return new SymbolEngine(m_name, m_renderer); }

private:
    static QSize fitted(const QSize& bounds)
    {
        const int side = std::max(1, std::min(bounds.width(), bounds.height()));
        return QSize(side, side);
    }

    QString m_name;
    std::shared_ptr<QSvgRenderer> m_renderer;
};

} // namespace

std::optional<QIcon> Symbols::image(const QString& name)
{
    const Glyph* glyph = findGlyph(name);
    if (!glyph)
        return std::nullopt;
    QIcon icon(new SymbolEngine(name, rendererFor(*glyph)));
    icon.setIsMask(true);
    return icon;
}

QStringList Symbols::names()
{
    QStringList result;
    for (const auto& glyph : kGlyphs)
        result << QString::fromLatin1(glyph.name);
    return result;
}

QImage Symbols::render(const QIcon& icon, const QSize& pixelSize, const QColor& tint)
{
    QImage image = icon.pixmap(pixelSize, 1.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!icon.isMask() || image.isNull())
        return image;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), tint);
    return image;
}

// Bars repaint many times a second while something on them moves; a glyph
// is rasterised once per name, size and colour. Icons without a name (an
// application's own) are kept by their cache key.
void Symbols::paint(QPainter& painter, const QIcon& icon, const QRectF& target, const QColor& tint)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize pixels = (target.size() * dpr).toSize();
    if (pixels.isEmpty())
        return;
    static QCache<QString, QImage> rendered(256);
    const QString name = icon.name();
    const QString key =
        (name.isEmpty() ? QStringLiteral("#%1").arg(icon.cacheKey()) : name) + QStringLiteral("|%1x%2|%3|%4")
                                                                                   .arg(pixels.width())
                                                                                   .arg(pixels.height())
                                                                                   .arg(tint.rgba(), 0, 16)
                                                                                   .arg(icon.isMask());
    if (const QImage* image = rendered.object(key)) {
        painter.drawImage(target, *image);
        return;
    }
    auto* image = new QImage(render(icon, pixels, tint));
    painter.drawImage(target, *image);
    rendered.insert(key, image);
}

} // namespace quillon
