#pragma once

#include <cstdint>
#include <functional>

// Instant workspace ("Space") switching, as a flat set of functions over one
// module state per process, main thread only.
//
// While started, the touchpad's three- and four-finger swipes are taken from
// the rest of the desktop; each sideways one switches the workspace at once,
// with no animation of the window manager's own. The window manager keeps
// every swipe of other finger counts. Whether a swipe is taken is decided as
// it begins, before it has a direction, so up and down swipes of three and
// four fingers are taken as well, and do nothing.

namespace quillon {

/// Called with the new Space index (0-based) after each swipe replaced.
using css_switch_callback = std::function<void(uint32_t newIndex)>;

/// Takes the swipes. 1 when taken (also when they already were; the first
/// callback then stays), 0 when the desktop cannot give them (logged).
int css_start(css_switch_callback callback);
/// Gives the swipes back and forgets the callback and the predictions.
void css_stop();
/// The 0-based index of the current Space of the display under the pointer;
/// -1 when unknown.
int32_t css_current_space_index();
/// The number of Spaces of that display; 0 when unknown.
int32_t css_space_count();
/// Forgets the Spaces predicted for quick swipes; to be called when the
/// window manager reports a Space change.
void css_reset_predictions();
/// Switches one Space on (direction 1) or back (0); 1 when it switched.
/// Every switch is instant here, so `fast` changes nothing.
int css_swipe_once(int direction, int fast);
/// Switches the display under the pointer to the Space with this id (as the
/// window Spaces report it); 0 when it is the current Space, on another
/// display, or unknown.
int css_switch_to_space(uint64_t spaceId);

} // namespace quillon
