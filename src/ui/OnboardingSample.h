#pragma once

#include <QString>
#include <optional>

namespace quillon {

/// The picture the tour's screen-text demonstration reads: drawn once into
/// the application folder and kept there.
class OnboardingSample {
public:
    OnboardingSample() = delete;

    /// The sample's path; drawn when it is missing. None when it cannot be
    /// written.
    static std::optional<QString> imageURL();
    static QString path();
};

} // namespace quillon
