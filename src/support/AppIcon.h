#pragma once

#include <QIcon>

namespace quillon {

/// The application's icon: the same drawing the desktop entry installs,
/// built into the binary so windows, About and the tour show it without an
/// installed theme.
class AppIcon {
public:
    AppIcon() = delete;

    static QIcon icon();
    /// The resource path of the drawing.
    static QString resource();
};

} // namespace quillon
