#pragma once

#include <QString>
#include <optional>

namespace quillon {

/// The version line of the About pane and the session headers.
class AboutInfo {
public:
    /// "1.4.2 (87 · 3fa9c1e)"; "development build" without a version.
    static QString versionLine(const std::optional<QString>& version, const std::optional<QString>& build,
                               const std::optional<QString>& commit);
    static QString current();
};

} // namespace quillon
