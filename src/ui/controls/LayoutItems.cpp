#include "ui/controls/LayoutItems.h"

#include <QLayout>
#include <QWidget>

namespace quillon {

void discardItems(QLayout& layout)
{
    while (QLayoutItem* item = layout.takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
}

} // namespace quillon
