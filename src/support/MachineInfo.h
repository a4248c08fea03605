#pragma once

#include <QString>
#include <vector>

namespace quillon {
namespace platform {
struct Screen;
}

/// The machine summary of the debug file's session headers.
class MachineInfo {
public:
    static QString model();
    static QString architecture();
    static QString displays();
    static QString summary();

    /// "2 display(s) (1920×1080, 1470×956+notch)", or "no displays".
    static QString describeDisplays(const std::vector<platform::Screen>& screens);
};

} // namespace quillon
