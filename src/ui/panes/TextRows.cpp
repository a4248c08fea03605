#include "ui/panes/TextRows.h"

#include "platform/Paths.h"
#include "platform/Platform.h"
#include "support/AppFiles.h"
#include "support/Symbols.h"
#include "ui/panes/ShelfPane.h"

#include <QFontDatabase>
#include <QLabel>
#include <QToolButton>

namespace quillon {

QFont monospacedFont(double pixelSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    return fractionalFont(font, pixelSize);
}

QLabel* secondaryLabel(const QString& text, double pixelSize)
{
    auto* label = new QLabel(text);
    label->setFont(fractionalFont(label->font(), pixelSize));
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setGlyph(QToolButton* button, const QString& symbol, int size, const QColor& color)
{
    if (const auto icon = Symbols::image(symbol)) {
        QPixmap pixmap = QPixmap::fromImage(Symbols::render(*icon, QSize(size * 2, size * 2), color));
        pixmap.setDevicePixelRatio(2);
        button->setIcon(QIcon(pixmap));
    }
    button->setProperty("symbol", symbol);
}

QToolButton* glyphButton(const QString& symbol, int size, const QColor& color, const QString& name)
{
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setIconSize(QSize(size, size));
    button->setCursor(Qt::PointingHandCursor);
    button->setAccessibleName(name);
    button->setToolTip(name);
    setGlyph(button, symbol, size, color);
    return button;
}

QString dataFolderText()
{
    return ShelfPane::displayPath(AppFiles::root(), platform::platform().paths().home());
}

} // namespace quillon
