#include "platform/linux/QtPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillon::platform::linux_ {

void QtPasteboard::clear()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear(QClipboard::Clipboard);
}

bool QtPasteboard::writeString(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    // Qt offers text/plain under the X11 text targets as well (UTF8_STRING,
    // STRING, TEXT), so older clients can paste it too.
    auto* data = new QMimeData;
    data->setText(text);
    clipboard->setMimeData(data, QClipboard::Clipboard);
    return true;
}

} // namespace quillon::platform::linux_
