#pragma once

#include <QString>
#include <optional>

namespace quillon::platform {

/// Whether the application starts when the person logs in.
class LoginItem {
public:
    enum class Status { enabled, notRegistered, requiresApproval, notFound };

    virtual ~LoginItem() = default;
    virtual Status status() = 0;
    /// Each answers what went wrong, or none.
    virtual std::optional<QString> registerItem() = 0;
    virtual std::optional<QString> unregisterItem() = 0;
};

} // namespace quillon::platform
