#pragma once

#include "ui/SnapShortcut.h"
#include "ui/controls/RowButton.h"

#include <functional>

class QLabel;

namespace quillon {

/// A snapping target as a clickable row: its icon, its title and its keys.
/// Clicking runs `action`; a row built disabled shows its title dimmed and
/// neither reacts nor washes under the pointer.
class SnapNowRow final : public RowButton {
    Q_OBJECT

public:
    SnapNowRow(const SnapShortcut& shortcut, bool enabled, std::function<void()> action,
               QWidget* parent = nullptr);

    static constexpr int iconWidth = 24;

    QLabel* titleLabel() const { return m_title; }
    /// Whether the target has an icon (no gap is left without one).
    bool hasIcon() const { return m_hasIcon; }

private:
    QLabel* m_title = nullptr;
    bool m_hasIcon = false;
};

} // namespace quillon
