#pragma once

#include "notch/NotchContent.h"
#include "notch/NowPlayingChipState.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <limits>
#include <optional>
#include <vector>

namespace quillon {

/// The ready-made contents of every chip, with their texts, symbols and flags.
/// Features ask for one of these and hand it to the chip controller; they
/// never build views.
class NotchStates {
public:
    NotchStates() = delete;

    /// The caption ends in "…" where it would be wider than `maxCaptionWidth`.
    static NotchContent nowPlaying(NowPlayingChipState::Phase phase, const QString& title,
                                   const QString& artist,
                                   double maxCaptionWidth = std::numeric_limits<double>::infinity());
    static NotchContent shelfChip(int count);
    static NotchContent spaceChip(int number);
    static NotchContent sessionChip(bool active, int minutes);
    /// The first half of the items (rounded up) left, the rest right; a single
    /// item goes right.
    static NotchContent leaderHints(const std::vector<NotchBarItem>& items,
                                    const std::optional<QString>& caption);
    static NotchContent snippetCopiedChip();
    static NotchContent ocrChip(const QString& text);
    static NotchContent ocrPermissionChip();
    static NotchContent ocrRestartChip();
    static NotchContent colorChip(const QString& hex, const QColor& color);
    static NotchContent appQuitChip(const std::optional<QIcon>& icon, const QString& name);
    static NotchContent breakCountdown(int second, bool eyeOpen);
    static NotchContent batteryChip(bool charging, int percent);
    /// Critical (warning colours) at or below the lowest battery threshold.
    static NotchContent lowBatteryChip(int percent);

    /// The text on one line, its words joined by single spaces; longer than
    /// `limit` characters, its middle gives way to " … ". A limit below 3,
    /// too short for the ellipsis, counts as 3.
    static QString textPreview(const QString& text, int limit);
};

} // namespace quillon
