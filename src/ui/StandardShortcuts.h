#pragma once

class QWidget;

namespace quillon {

/// The application's keys in its own windows: Ctrl+Q quits and Ctrl+W
/// closes the window. The edit keys (undo, redo, cut, copy, paste, select
/// all) are the text fields' own.
void installStandardShortcuts(QWidget& window);

} // namespace quillon
