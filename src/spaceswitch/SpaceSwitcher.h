#pragma once

#include "spaceswitch/DisplaySpaces.h"

#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace quillon {

/// Switches Spaces over what the window manager reports: the replacement for
/// a swipe, with predictions for swipes that come faster than the window
/// manager reports the switches, one step either way, and a walk to a given
/// Space. Every switch goes straight to its target Space.
class SpaceSwitcher {
public:
    /// Predictions are kept only while swipes are taken.
    void setPredicting(bool predicting);
    /// Forgets every prediction.
    void resetPredictions();
    /// The Space index predicted for a display (by its identifier, "" for a
    /// set spanning every display).
    std::optional<int> prediction(const QString& display) const;

    /// Replaces one swipe: switches the display under the pointer to its next
    /// (direction 1) or previous (0) Space, counted from the predicted one
    /// while earlier switches have not shown yet. Nothing at the first or last
    /// Space, or when the current Space is unknown.
    void overrideSwitch(int direction, const DisplaySpaces& spaces);
    /// One step either way, counted from the current Space; forgets the
    /// predictions. False when there is nothing to switch to.
    bool swipeOnce(int direction, const DisplaySpaces& spaces);
    /// Switches to the Space with this id on the display the queries answer
    /// for; false when it is the current Space, not on that display, or
    /// unknown. Forgets the predictions when it switches.
    bool switchToSpace(uint64_t space, const DisplaySpaces& spaces);

    /// Called with the new index after each replaced swipe.
    std::function<void(uint32_t)> onSwitch;

private:
    /// A predicted index, and the index the display showed when the first of
    /// the quick swipes leading to it came: the prediction holds while the
    /// reported Space lies on the way between the two.
    struct Prediction {
        int index = 0;
        int from = 0;
    };
    struct SwipeStart {
        const ManagedDisplay* display = nullptr;
        int current = 0;
    };
    /// The display a swipe acts on and the index of its current Space.
    static std::optional<SwipeStart> swipeStart(const DisplaySpaces& spaces);
    const Prediction* validPrediction(const QString& key, int current) const;

    std::optional<std::map<QString, Prediction>> m_predictions;
};

} // namespace quillon
