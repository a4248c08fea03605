#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace quillon::testing {

/// A left click at `at` in `widget`, as press and release.
inline void click(QWidget* widget, QPoint at)
{
    const QPointF local(at), global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

/// One key pressed and released, passed up to the parents when not taken.
inline void keyClick(QWidget* widget, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

/// Types `text` one character at a time.
inline void keyClicks(QWidget* widget, const QString& text)
{
    for (const QChar character : text)
        keyClick(widget, character.isLetter() ? Qt::Key_A + (character.toUpper().unicode() - 'A') : Qt::Key_Space,
                 QString(character));
}

} // namespace quillon::testing
