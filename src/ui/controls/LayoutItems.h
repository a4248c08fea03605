#pragma once

class QLayout;

namespace quillon {

/// Empties `layout`: its widgets are hidden and deleted once control returns
/// to the event loop, so a click on one of them may lead here.
void discardItems(QLayout& layout);

} // namespace quillon
