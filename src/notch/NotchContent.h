#pragma once

#include "notch/NotchBarItem.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

namespace quillon {

/// What a bar shows: items left of the notch (the first outermost), items
/// right of it (the first nearest the notch), a caption under it and an
/// optional coloured outline.
struct NotchContent {
    std::vector<NotchBarItem> left;
    std::vector<NotchBarItem> right;
    std::optional<QString> caption;
    std::optional<QColor> outlineColor;

    /// Nothing to show: no items and no caption. Such content is never shown.
    bool isEmpty() const { return left.empty() && right.empty() && !caption; }
};

} // namespace quillon
