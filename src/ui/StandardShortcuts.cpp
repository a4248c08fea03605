#include "ui/StandardShortcuts.h"

#include "platform/Platform.h"

#include <QAction>
#include <QWidget>

namespace quillon {

void installStandardShortcuts(QWidget& window)
{
    auto* quit = new QAction(QStringLiteral("Quit Quillon"), &window);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(quit, &QAction::triggered, [] { platform::platform().appShell().terminate(); });
    auto* close = new QAction(QStringLiteral("Close Window"), &window);
    close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    QObject::connect(close, &QAction::triggered, &window, &QWidget::close);
    window.addAction(quit);
    window.addAction(close);
}

} // namespace quillon
