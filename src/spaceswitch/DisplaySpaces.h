#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillon {

/// The Spaces of one display, or of every display where they share one set.
struct ManagedDisplay {
    /// The display's id (as `platform::Screen::id`); none for a set that spans
    /// every display.
    std::optional<QString> identifier;
    /// Space ids in order.
    std::vector<uint64_t> spaces;
    /// 0 when unknown.
    uint64_t currentSpace = 0;

    /// Position of the first / last Space with this id.
    std::optional<int> firstIndexOf(uint64_t space) const;
    std::optional<int> lastIndexOf(uint64_t space) const;
};

/// The number of Spaces of a display and the index of its current one.
struct SpaceInfo {
    int count = 0;
    int index = -1;
};

/// What the window manager reports about the Spaces of each display, and
/// which display the pointer is on, at one moment.
struct DisplaySpaces {
    /// The window manager reports Spaces; every question fails otherwise.
    bool available = false;
    /// The active Space; 0 when unknown.
    uint64_t activeSpace = 0;
    std::vector<ManagedDisplay> displays;
    /// The id of the display under the pointer; none when it is on none.
    std::optional<QString> pointerDisplay;

    /// Now, from the platform. On X11 one set of Spaces spans every display.
    static DisplaySpaces current();

    /// The display a swipe acts on: the one under the pointer, else the first.
    const ManagedDisplay* swipeDisplay() const;
    /// The display the queries answer for: the first under the pointer or
    /// spanning every display (any, when the pointer is on none); none when
    /// no display qualifies.
    const ManagedDisplay* queryDisplay() const;
    /// The Spaces of the query display; none when unknown.
    std::optional<SpaceInfo> pointerDisplayInfo() const;
};

} // namespace quillon
