#pragma once

#include "ui/controls/Glyph.h"

#include <QBoxLayout>
#include <QColor>
#include <QFont>
#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QToolButton;

namespace quillon {

/// Helpers the Clipboard and Snippets panes share for their rows of text.

/// The fixed-width font at `pixelSize` device-independent pixels (fractions
/// kept: the reference's 10.5 and 11.5).
QFont monospacedFont(double pixelSize);
/// A secondary (greyed) label at `pixelSize`.
QLabel* secondaryLabel(const QString& text, double pixelSize);
/// A flat button showing only the named symbol, `size` wide, in `color`;
/// `name` is what assistive tools and the tooltip say.
QToolButton* glyphButton(const QString& symbol, int size, const QColor& color, const QString& name);
/// Repaints a glyph button's symbol (a pin that fills, a colour that changes).
void setGlyph(QToolButton* button, const QString& symbol, int size, const QColor& color);
/// The application's data folder as text, the home folder as "~".
QString dataFolderText();

/// Brings a list's row widgets to `count`: new ones from `make` go after the
/// last row in `layout`, surplus ones go. Rows are kept and shown anew, so a
/// long list redraws without building widgets.
template <typename Row>
void resizeRows(std::vector<Row*>& rows, std::size_t count, QBoxLayout* layout,
                const std::function<Row*()>& make)
{
    while (rows.size() < count) {
        Row* row = make();
        layout->insertWidget(int(rows.size()), row);
        rows.push_back(row);
    }
    while (rows.size() > count) {
        Row* row = rows.back();
        rows.pop_back();
        layout->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
}

} // namespace quillon
