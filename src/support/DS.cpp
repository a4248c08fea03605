#include "support/DS.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPalette>

namespace quillon {

namespace {

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QColor paletteColor(QPalette::ColorRole role)
{
    return QGuiApplication::palette().color(QPalette::Active, role);
}

// Sizes are in device-independent pixels, like every length of the bar:
// point sizes would come out a third larger at 96 dpi and break its rows.
QFont makeFont(QFont font, int pixelSize, QFont::Weight weight)
{
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

QFont systemFont() { return QFontDatabase::systemFont(QFontDatabase::GeneralFont); }

QFont monospacedFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    return font;
}

} // namespace

QColor DS::hudBlack() { return QColor(Qt::black); }
QColor DS::keycapFill() { return QColor(43, 45, 52); }
QColor DS::text() { return withAlpha(Qt::white, 0.94); }
QColor DS::textCaption() { return withAlpha(Qt::white, 0.62); }
QColor DS::textSecondary() { return withAlpha(Qt::white, 0.56); }

// The menu tones mirror the label hierarchy of the desktop: the palette's text
// colour at full, medium and low strength, and a faint hairline.
QColor DS::menuText() { return paletteColor(QPalette::WindowText); }
QColor DS::menuTextSecondary() { return withAlpha(paletteColor(QPalette::WindowText), 0.55); }
QColor DS::menuTextTertiary() { return withAlpha(paletteColor(QPalette::WindowText), 0.26); }
QColor DS::menuHairline() { return withAlpha(paletteColor(QPalette::WindowText), 0.12); }

QColor DS::accent() { return QColor(91, 99, 211); }
QColor DS::accentHi() { return QColor(124, 130, 221); }
QColor DS::accentSoft() { return withAlpha(accent(), 0.16); }
QColor DS::warning() { return QColor(229, 72, 77); }
QColor DS::charging() { return QColor(50, 209, 88); }
QColor DS::caution() { return QColor(255, 179, 64); }

// The general font's digits are of one width in the fonts this desktop ships
// (DejaVu, Cantarell, Noto), which is what the value font needs.
const QFont& DS::captionFont()
{
    static const QFont font = makeFont(systemFont(), 11, QFont::Normal);
    return font;
}

const QFont& DS::valueFont()
{
    static const QFont font = makeFont(systemFont(), 14, QFont::DemiBold);
    return font;
}

const QFont& DS::badgeFont()
{
    static const QFont font = makeFont(monospacedFont(), 8, QFont::DemiBold);
    return font;
}

const QFont& DS::keycapFont()
{
    static const QFont font = makeFont(monospacedFont(), 11, QFont::DemiBold);
    return font;
}

QColor DS::typeTeal() { return QColor(48, 176, 168); }
QColor DS::typeGray() { return QColor(138, 138, 147); }
QColor DS::settingsBackground() { return paletteColor(QPalette::Window); }
QColor DS::systemGray() { return QColor(142, 142, 147); }

const QHash<QString, QColor>& DS::featureTints()
{
    static const QHash<QString, QColor> tints{
        {QStringLiteral("Getting Started"), QColor(52, 199, 89)},
        {QStringLiteral("General"), QColor(142, 142, 147)},
        {QStringLiteral("Sweep"), QColor(255, 59, 48)},
        {QStringLiteral("Swipe"), QColor(48, 176, 199)},
        {QStringLiteral("Awake"), QColor(255, 149, 0)},
        {QStringLiteral("Snap"), QColor(0, 122, 255)},
        {QStringLiteral("Jump"), QColor(94, 92, 230)},
        {QStringLiteral("Notch"), QColor(28, 28, 30)},
        {QStringLiteral("Shelf"), QColor(162, 132, 94)},
        {QStringLiteral("Focus"), QColor(191, 90, 242)},
        {QStringLiteral("Breaks"), QColor(52, 199, 89)},
        {QStringLiteral("Clipboard"), QColor(255, 45, 85)},
        {QStringLiteral("Snippets"), QColor(0, 162, 168)},
        {QStringLiteral("OCR"), QColor(100, 210, 255)},
        {QStringLiteral("Color"), QColor(255, 55, 95)},
        {QStringLiteral("Auto-Quit"), QColor(255, 100, 130)},
        {QStringLiteral("About"), QColor(99, 99, 102)},
    };
    return tints;
}

QColor DS::typeColor(const QString& extension)
{
    static const QStringList images{"png", "jpg", "jpeg", "gif", "heic", "tiff", "webp", "svg"};
    static const QStringList documents{"pdf", "doc", "docx", "key", "pages"};
    static const QStringList archives{"zip", "tar", "gz", "dmg", "7z", "rar"};
    const QString ext = extension.toLower();
    if (images.contains(ext))
        return typeTeal();
    if (documents.contains(ext))
        return warning();
    if (archives.contains(ext))
        return caution();
    return typeGray();
}

} // namespace quillon
