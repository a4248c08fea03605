#pragma once

#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace quillon::platform {

/// One display. Frames are in the y-up global space whose origin is the
/// bottom-left corner of the primary display (see ScreenSpace.h).
struct Screen {
    /// Stable across runs: an EDID hash where the output has one, else its name.
    QString id;
    QString name;
    QRectF frame;
    /// The frame less panels and docks (the work area).
    QRectF visibleFrame;
    double scale = 1.0;
    /// The computer's own panel (eDP, LVDS, DSI).
    bool builtIn = false;
    /// Height of a physical notch's safe-area inset; no Linux screen has one.
    double safeAreaTop = 0.0;
    /// The usable strips left and right of a physical notch, where there is one.
    std::optional<QRectF> auxiliaryTopLeftArea;
    std::optional<QRectF> auxiliaryTopRightArea;

    bool operator==(const Screen&) const = default;
};

class Displays {
public:
    virtual ~Displays() = default;
    /// Every screen; the first is the primary one.
    virtual std::vector<Screen> screens() const = 0;
    /// The screen that holds the focused window (the primary one when unsure).
    virtual std::optional<Screen> mainScreen() const = 0;
    /// Called on the main thread whenever screens are added, removed or change.
    virtual int addChangeHandler(std::function<void()> handler) = 0;
    virtual void removeChangeHandler(int token) = 0;
};

} // namespace quillon::platform
