#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>

namespace quillon {

/// The system's colours and fonts: the black bar and its keycaps, text tones
/// on black, menu tones that follow the light or dark palette, the accent and
/// the signal colours, one tint per settings pane and one badge colour per
/// file type.
///
/// Fixed colours and the fonts are made once, on first use. The menu tones and
/// the window background are read from the application palette at each call,
/// so they follow a change of appearance.
class DS {
public:
    DS() = delete;

    static QColor hudBlack();
    static QColor keycapFill();
    static QColor text();
    static QColor textCaption();
    static QColor textSecondary();
    static QColor menuText();
    static QColor menuTextSecondary();
    static QColor menuTextTertiary();
    static QColor menuHairline();
    static QColor accent();
    static QColor accentHi();
    static QColor accentSoft();
    static QColor warning();
    static QColor charging();
    static QColor caution();
    static const QFont& captionFont();
    static const QFont& valueFont();
    static const QFont& badgeFont();
    static const QFont& keycapFont();
    static QColor typeTeal();
    static QColor typeGray();
    static QColor settingsBackground();
    /// Keyed by the settings panes' titles ("Getting Started", "Auto-Quit", …).
    static const QHash<QString, QColor>& featureTints();
    /// The shelf's badge colour for a file extension, compared in lower case.
    static QColor typeColor(const QString& extension);

    /// The neutral grey used where a pane has no tint of its own.
    static QColor systemGray();
};

} // namespace quillon
