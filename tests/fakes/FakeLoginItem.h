#pragma once

#include "platform/LoginItem.h"

namespace quillon::fakes {

/// A settable status; register and unregister move it unless `error` is set.
class FakeLoginItem final : public platform::LoginItem {
public:
    Status status() override { return current; }
    std::optional<QString> registerItem() override
    {
        ++registrations;
        if (!error)
            current = Status::enabled;
        return error;
    }
    std::optional<QString> unregisterItem() override
    {
        ++unregistrations;
        if (!error)
            current = Status::notRegistered;
        return error;
    }

    Status current = Status::notRegistered;
    std::optional<QString> error;
    int registrations = 0;
    int unregistrations = 0;
};

} // namespace quillon::fakes
